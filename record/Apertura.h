#pragma once
// Opening an installation's file, on the record's thread: checks it, sets a damaged file aside
// and starts a new one in its place, and reads what the program keeps in memory.

#include "Instantanea.h"

#include <QHash>
#include <QString>

struct TApertura {
    enum class TEstado {
        Abierta,
        Apartada,       // the file was damaged: set aside, and a new one started
        Ajena_Apartada, // the file was another program's database: set aside, a new one started
        Sin_Permiso,    // the file may be read but not written here: opened read-only
        Otro_Programa,  // another running program records in it: opened read-only
        Mas_Nueva,      // written by a newer version: opened read-only, left as it is
        Sin_Actualizar, // an earlier version's that could not be brought up to date: read-only
        Fallida,        // neither the file nor a new one could be opened: nothing is stored
    };
    TEstado Estado = TEstado::Fallida;
    QString Apartado; // where the damaged file is now
    QString Error;    // why the file could not be used, for the log and the message
    QString Sitio;
    QString Avance_Sondeo;
    TDatos_Entrega Entrega;
    QList<TDecoder_Registro> Decoders;
    QList<TProblema_Registro> Problemas;

    // The Saves since each decoder's last read-out, for what they may have left in it.
    QHash<qint64, QList<TEvento_Registro>> Sin_Lectura;

    bool Escribible() const {
        return Estado == TEstado::Abierta || Estado == TEstado::Apartada ||
               Estado == TEstado::Ajena_Apartada;
    }
};

// Leaves the Qt SQL connection named `conexion` on `fichero`, open unless Fallida; the caller
// removes it. `otro_programa`: another program holds the installation's lock.
TApertura Abre_Base(const QString& fichero, const QString& conexion, bool otro_programa);

// Opens the connection on the file again for writing, as Abre_Base left it; false with the
// reason in `error`.
bool Reconecta(const QString& fichero, const QString& conexion, QString& error);
