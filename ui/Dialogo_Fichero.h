#pragma once
// The program's file dialogs: they look at file names only, never into the files.
//
// Why: to pick an icon or a type a dialog reads the first bytes of each file it lists. On Linux
// closing any descriptor of a file drops every lock the process holds on it, SQLite's
// included, so a dialog listing the folder of the open installation record would let another
// program delete the record's journal under it. The system's own dialog reads files in this
// process too, so Qt's dialog is used there.

#include <QFileDialog>

class TDialogo_Fichero : public QFileDialog {
public:
    TDialogo_Fichero(QWidget* parent, const QString& titulo, const QString& carpeta = {},
                     const QString& filtro = {});
};
