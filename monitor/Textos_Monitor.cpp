#include "Textos_Monitor.h"

#include "Idiomas.h"

namespace {

constexpr std::array<const char*, static_cast<std::size_t>(TTexto_Monitor::Cuantos)> kClaves = {
    "Mon_Title",
    "Mon_ColTime",
    "Mon_ColDelta",
    "Mon_ColDirection",
    "Mon_ColBytes",
    "Mon_ColMeaning",
    "Mon_ToLine",
    "Mon_FromLine",
    "Mon_FilterAll",
    "Mon_FilterRequests",
    "Mon_FilterDecoder",
    "Mon_FilterProblems",
    "Mon_Pause",
    "Mon_Clear",
    "Mon_Find",
    "Mon_Copy",
    "Mon_Save",
    "Mon_SaveFilter",
    "Mon_SaveFailed",
    "Mon_NotFound",
    "Mon_LogFailed",
    "Mon_Trimmed",
    "Mon_WriteCode",
    "Mon_WriteNoCode",
    "Mon_WriteTimeSec",
    "Mon_WriteTimeMin",
    "Mon_WriteNoTime",
    "Mon_WriteMode",
    "Mon_WriteStart",
    "Mon_WriteEnd",
    "Mon_WriteEntrance",
    "Mon_WriteAddress",
    "Mon_None",
    "Mon_Yes",
    "Mon_No",
    "Mon_WriteWord",
    "Mon_ReadTime",
    "Mon_ReadState",
    "Mon_ReadRegister",
    "Mon_ReadPanel",
    "Mon_WritePanel",
    "Mon_Query",
    "Mon_Arm",
    "Mon_ProgRequest",
    "Mon_Closing",
    "Mon_ClosingSaved",
    "Mon_AckData",
    "Mon_AckIdent",
    "Mon_AckOther",
    "Mon_UnknownRequest",
    "Mon_Acknowledged",
    "Mon_Answer",
    "Mon_Value",
    "Mon_Refused",
    "Mon_Attempt",
    "Mon_Timeout",
    "Mon_Late",
    "Mon_Debris",
    "Mon_Excess",
    "Mon_DataFrame",
    "Mon_DataFrameAny",
    "Mon_Ident",
    "Mon_WrongDecoder",
    "Mon_Announce",
    "Mon_AnnounceFirst",
    "Mon_UnknownFrame",
    "Mon_NoEditor",
    "Mon_Ignored",
};

} // namespace

TTextos_Monitor TTextos_Monitor::Del_Idioma() {
    TTextos_Monitor t;
    for (std::size_t i = 0; i < kClaves.size(); ++i)
        t.textos_[i] = Texto(QLatin1String(kClaves[i]));
    return t;
}
