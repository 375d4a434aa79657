#include "Dialogo_Fichero.h"

#include <QFileIconProvider>
#include <QMimeDatabase>

namespace {

class TIconos_Por_Nombre final : public QFileIconProvider {
public:
    QIcon icon(const QFileInfo& info) const override {
        return QFileIconProvider::icon(info.isDir() ? Folder : File);
    }
    QString type(const QFileInfo& info) const override {
        if (info.isDir())
            return QFileIconProvider::type(info);
        return QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension).comment();
    }
};

} // namespace

TDialogo_Fichero::TDialogo_Fichero(QWidget* parent, const QString& titulo, const QString& carpeta,
                                   const QString& filtro)
    : QFileDialog(parent, titulo, carpeta, filtro) {
    // Shared and never freed: the dialogs' listing threads use it until the program ends.
    static auto* const iconos = new TIconos_Por_Nombre;
#ifndef Q_OS_WIN
    // Windows keeps a file's locks whatever else opens it: its own dialog is safe there.
    setOption(QFileDialog::DontUseNativeDialog);
#endif
    setIconProvider(iconos);
}
