#include "Ventanas.h"

TVentanas& Ventanas() {
    static TVentanas ventanas;
    return ventanas;
}
