#include "Comprobacion.h"

#include "Carpetas.h"
#include "Configuracion.h"
#include "Creacion_Ventanas.h"
#include "F_Ayuda.h"
#include "F_Principal.h"
#include "Idiomas.h"

#include <QTextStream>

int Comprueba_Instalacion(QTextStream& salida) {
    Crea_Ventanas(false);
    const QString idiomas = Busca_Fichero(QStringLiteral("KALVEX_LANG.INI"));
    const QStringList ausentes = Textos_Ausentes();
    const QString ayuda = TF_Princ::Fichero_Ayuda(Idioma);
    const bool hay_ayuda = TF_Ayuda().Carga(ayuda);

    salida << Titulo_Kalvex() << '\n'
           << Texto(QStringLiteral("CHK_Idiomas")) << ' ' << idiomas << " (" << Idioma << ")\n"
           << Texto(QStringLiteral("CHK_Ayuda")) << ' ' << ayuda << '\n';
    if (!ausentes.isEmpty())
        salida << Texto(QStringLiteral("CHK_Sin_Texto")) << ' '
               << ausentes.join(QStringLiteral(", ")) << '\n';
    if (!hay_ayuda)
        salida << Texto(QStringLiteral("CHK_Sin_Ayuda")) << '\n';
    const bool correcta = ausentes.isEmpty() && hay_ayuda;
    if (correcta)
        salida << Texto(QStringLiteral("CHK_Correcta")) << '\n';
    salida.flush();
    Destruye_Ventanas();
    Libera_Fichero_Idiomas();
    return correcta ? 0 : 1;
}
