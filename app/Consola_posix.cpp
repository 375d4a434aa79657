#include "Consola.h"

void Conecta_Consola_Padre() {
    // A POSIX program writes to the terminal it was started from as it is.
}
