// Holders, groups and users on Windows. Windows names neither the program that holds a COM port
// nor a group that may open it, so those answers are empty and the message says so.

#include "PortDiagnosis.h"

#include <windows.h>

std::vector<PortHolder> PortHolders(const QByteArray&) {
    return {};
}

QString DeviceGroup(const QByteArray&) {
    return {};
}

QString UserName() {
    return qEnvironmentVariable("USERNAME");
}

QString SystemErrorText(int number) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(number), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString result;
    if (length > 0 && text)
        result = QString::fromWCharArray(text, static_cast<int>(length)).trimmed();
    LocalFree(text);
    return result.isEmpty() ? QStringLiteral("error %1").arg(number) : result;
}
