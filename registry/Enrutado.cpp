#include "Enrutado.h"

TEnrutado& Enrutado() {
    static TEnrutado estado;
    return estado;
}
