#pragma once
// The help window: the help page of the user's language, shown by the program itself so that
// help needs no browser. Links between the shipped pages open here; links to the web go to
// the system's browser, and a failure to start one is said.

#include <QDialog>

class QTextBrowser;
class QUrl;

class TF_Ayuda : public QDialog {
    Q_OBJECT
public:
    explicit TF_Ayuda(QWidget* parent = nullptr);

    // Shows the page (a local HTML file) and brings the window to the front.
    void Muestra(const QString& fichero);
    // Loads the page without showing the window; false when it shows no text (a missing,
    // unreadable or empty file).
    bool Carga(const QString& fichero);

private:
    void Enlace(const QUrl& url);

    QTextBrowser* Pagina;
};
