#pragma once
// Private-profile (INI) files with the semantics of the Windows profile functions.
//
// Reading: section and key names match case-insensitively, the first matching section and
// the first matching key in it win, blanks around names and values are trimmed, and one pair
// of surrounding quotes (" or ') is removed from a value. Lines starting with ';' are comments.
// A line ends at LF, CR LF or a CR alone. A file that is missing, unreadable, not a regular file
// or larger than kTamanoMaximo reads as empty, so every lookup yields its default.
//
// Writing changes only the line of its key (or inserts the key after the last key of its
// section, or appends the section); every other byte of the file stays as it was, line
// endings included, except that a CR alone before an inserted line gets its LF (in a file
// whose lines do not end in a CR alone), so that no reader takes two lines for one. The file
// is replaced atomically, and only once every byte of the new file is on the disk: a crash, a
// full disk or a disk that fails leaves the old file as it was, never a truncated one. A file
// that exists but cannot be read is never overwritten.
//
// Files are Windows-1252 on disk; names and values are QStrings here. A file that begins with
// the UTF-8 byte-order mark is UTF-8, and keeps its mark when written; so is a file without
// the mark that holds bytes beyond ASCII and is valid UTF-8 throughout, as a text editor saves
// it (Windows-1252 text beyond ASCII almost never is), and it is written without one.

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

class TIniFile {
public:
    static constexpr qint64 kTamanoMaximo = qint64{8} * 1024 * 1024;

    explicit TIniFile(QString fileName) : fileName_(std::move(fileName)) {}

    const QString& FileName() const { return fileName_; }

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Every section header's name, in file order (a repeated header is listed again, though
    // only its first occurrence is ever read).
    QStringList ReadSections() const;
    // False when nothing was written: the existing file could not be read, or the new file
    // could not be stored. The folder of the file is created when missing.
    bool WriteString(const QString& section, const QString& key, const QString& value);
    // Several keys of one section in one replacement of the file, so that either all of them
    // are stored or none; when none, causa says why in the system's words.
    bool WriteStrings(const QString& section, const QList<std::pair<QString, QString>>& pares,
                      QString& causa);

private:
    QString fileName_;
};
