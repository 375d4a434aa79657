#pragma once
// The monitor's texts in the user's language, looked up once: a text lookup reads the language
// file, and a view of 100,000 rows asks for its meanings many times a second.

#include <QString>

#include <array>

enum class TTexto_Monitor {
    Title,
    ColTime,
    ColDelta,
    ColDirection,
    ColBytes,
    ColMeaning,
    ToLine,
    FromLine,
    FilterAll,
    FilterRequests,
    FilterDecoder,
    FilterProblems,
    Pause,
    Clear,
    Find,
    Copy,
    Save,
    SaveFilter,
    SaveFailed,
    NotFound,
    LogFailed,
    Trimmed,
    WriteCode,
    WriteNoCode,
    WriteTimeSec,
    WriteTimeMin,
    WriteNoTime,
    WriteMode,
    WriteStart,
    WriteEnd,
    WriteEntrance,
    WriteAddress,
    None,
    Yes,
    No,
    WriteWord,
    ReadTime,
    ReadState,
    ReadRegister,
    ReadPanel,
    WritePanel,
    Query,
    Arm,
    ProgRequest,
    Closing,
    ClosingSaved,
    AckData,
    AckIdent,
    AckOther,
    UnknownRequest,
    Acknowledged,
    Answer,
    Value,
    Refused,
    Attempt,
    Timeout,
    Late,
    Debris,
    Excess,
    DataFrame,
    DataFrameAny,
    Ident,
    WrongDecoder,
    Announce,
    AnnounceFirst,
    UnknownFrame,
    NoEditor,
    Ignored,
    Cuantos
};

class TTextos_Monitor {
public:
    // Every text of the current language (Texto), once.
    static TTextos_Monitor Del_Idioma();

    const QString& operator[](TTexto_Monitor t) const {
        return textos_[static_cast<std::size_t>(t)];
    }

private:
    std::array<QString, static_cast<std::size_t>(TTexto_Monitor::Cuantos)> textos_;
};
