#pragma once
// The record's journal, SQLite's write-ahead log beside the file, watched so that the record
// never writes into a log that is gone.
//
// Why: on Linux, closing any descriptor of a file drops every lock the process holds on it.
// Another program reading the record afterwards takes it for unused, copies the log into the
// file and deletes the log; whatever is then written into the deleted log is lost at close.
// The record looks before each transaction and, when the log is not the one its connection
// writes into, opens the connection again (with a new log).
//
// Used on the record's thread only.

#include <QString>

class TDiario {
public:
    explicit TDiario(const QString& fichero);
    // Takes the log that is there now as the connection's.
    void Anota();
    // The log taken is still there, the same file.
    bool Intacto() const;

private:
    QString log_;
    bool anotado_ = false;
    quint64 dispositivo_ = 0;
    quint64 nodo_ = 0;
};
