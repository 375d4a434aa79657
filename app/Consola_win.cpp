#include "Consola.h"

#include <windows.h>

#include <cstdio>

void Conecta_Consola_Padre() {
    // Output already redirected (a file, a pipe) stays where it goes.
    const bool salida = GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN;
    const bool errores = GetFileType(GetStdHandle(STD_ERROR_HANDLE)) != FILE_TYPE_UNKNOWN;
    if ((salida && errores) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (!salida)
        std::freopen("CONOUT$", "w", stdout);
    if (!errores)
        std::freopen("CONOUT$", "w", stderr);
}
