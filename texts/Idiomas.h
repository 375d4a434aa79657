#pragma once
// The language file KALVEX_LANG.INI and the lookup of every text the user reads.

#include <QString>
#include <QStringList>

// Shown for a key the current language lacks: inverted question mark, question mark.
inline const QString TEXTO_AUSENTE = QStringLiteral("\u00BF?");

// Opens the language file object: the file in the configuration folder when there is one,
// else the one installed in the data folder. Called by the main window before the settings
// are loaded; released when it closes.
void Abre_Fichero_Idiomas();
void Libera_Fichero_Idiomas();

// The text of the key in the section of the current language (Idioma), read from the file at
// each call; TEXTO_AUSENTE when the file, the section or the key is missing.
QString Texto(const QString& key);

// The text of the key in the named section, as Texto but for any language.
QString Texto_En(const QString& seccion, const QString& key);
// Switches the current language for as long as it lives (a report worded in the language of
// its reader) and puts the previous one back however the scope is left.
class TIdioma_Temporal {
public:
    explicit TIdioma_Temporal(const QString& idioma);
    ~TIdioma_Temporal();
    TIdioma_Temporal(const TIdioma_Temporal&) = delete;
    TIdioma_Temporal& operator=(const TIdioma_Temporal&) = delete;

private:
    QString antes_;
};

// The languages the file holds: its section names in file order; empty without a file.
QStringList Secciones_Idiomas();

// The keys Texto was asked for since the file was opened and answered with TEXTO_AUSENTE,
// sorted: what the language file lacks for the windows made so far.
QStringList Textos_Ausentes();
