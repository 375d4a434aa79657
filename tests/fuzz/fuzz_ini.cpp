// The INI layer. Input: one byte of flags that reshape the file's line breaks and its start
// (see Reshape), three lines naming a section, a key and a value, then the file's bytes.
// Any file reads without harm; writing the key changes only its own line (or adds its line, and
// its section's header when the section is missing), keeps every other line byte for byte, and
// the value reads back. A leading UTF-8 byte-order mark is a mark, not part of the first line.

#include "FuzzCheck.h"
#include "TIniFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cctype>
#include <cstdint>
#include <vector>

using kalvex::fuzz::Check;

namespace {

const QByteArray kBom = "\xEF\xBB\xBF";
const QString kNone = QStringLiteral("\x01none");

// The file as lines, each with its line break: LF, CR LF, or a CR alone.
std::vector<QByteArray> Lines(const QByteArray& text) {
    std::vector<QByteArray> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r')
            ++end;
        if (end < text.size())
            end += text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
        lines.push_back(text.mid(start, end - start));
        start = end;
    }
    return lines;
}

QByteArray Ending(const QByteArray& line) {
    if (line.endsWith("\r\n"))
        return "\r\n";
    if (line.endsWith('\r'))
        return "\r";
    return line.endsWith('\n') ? "\n" : "";
}

bool OnlyLineBreaks(const QByteArray& bytes) {
    for (char c : bytes)
        if (c != '\r' && c != '\n')
            return false;
    return true;
}

QByteArray WithoutLineBreaks(QByteArray bytes) {
    bytes.replace('\r', QByteArray()).replace('\n', QByteArray());
    return bytes;
}

bool IsAscii(const QByteArray& bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// Letters, digits and inner blanks: a name that the file's own syntax cannot take apart.
QByteArray Name(const QByteArray& raw, const char* fallback) {
    QByteArray name;
    for (char c : raw.left(24))
        if (std::isalnum(static_cast<unsigned char>(c)) || c == ' ' || c == '_' || c == '.')
            name += c;
    name = name.trimmed();
    return name.isEmpty() ? QByteArray(fallback) : name;
}

// Printable ASCII without quotes (one pair of them is removed on reading) and trimmed.
QByteArray Value(const QByteArray& raw) {
    QByteArray value;
    for (char c : raw.left(40))
        if (c >= ' ' && c <= '~' && c != '"' && c != '\'')
            value += c;
    value = value.trimmed();
    return value.isEmpty() ? QByteArray("v") : value;
}

// Line breaks and byte-order marks are where files from different editors differ; one flag
// each lets the fuzzer try them on any file with a single changed byte.
QByteArray Reshape(QByteArray file, uint8_t flags) {
    if (flags & 1) // Unix line breaks
        file.replace("\r\n", "\n");
    if (flags & 2) // Windows line breaks
        file.replace("\r\n", "\n").replace("\n", "\r\n");
    if (flags & (4 | 8)) { // the file ends without a line break, or with a lone carriage return
        while (file.endsWith('\n') || file.endsWith('\r'))
            file.chop(1);
        if (flags & 4)
            file += '\r';
    }
    if (flags & 16)
        file.prepend(kBom);
    return file;
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    Check(file.open(QIODevice::ReadOnly), "the written file can be read");
    return file.readAll();
}

void Store(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort(); // the harness's own folder failed, not the code under test
}

// Compares the file before and after the write of one key, line by line.
void CheckOnlyItsLines(const QByteArray& before, const QByteArray& after, bool sectionExisted,
                       const QByteArray& section, const QByteArray& key, const QByteArray& value) {
    // The byte-order mark stays where it was, and is no part of the first line.
    const qsizetype mark = before.startsWith(kBom) ? kBom.size() : 0;
    Check(after.startsWith(kBom) == (mark > 0), "the byte-order mark is kept, and none added");
    const std::vector<QByteArray> a = Lines(before.mid(mark));
    const std::vector<QByteArray> b = Lines(after.mid(mark));
    Check(b.size() >= a.size(), "no line is lost or joined to another");
    if (b.size() == a.size()) {
        // The key's own line, changed in place: its name and its line break stay.
        int changed = 0;
        for (size_t i = 0; i < a.size(); ++i) {
            if (a[i] == b[i])
                continue;
            ++changed;
            const qsizetype eq = a[i].indexOf('=');
            Check(eq >= 0, "only a line holding a key is rewritten in place");
            Check(b[i].startsWith(a[i].left(eq + 1)), "a rewritten line keeps its key name");
            Check(Ending(b[i]) == Ending(a[i]), "a rewritten line keeps its line break");
            Check(b[i].contains(value), "the rewritten line holds the new value");
        }
        Check(changed <= 1, "a write changes at most one existing line");
        Check(sectionExisted, "a missing section is added, not written into another line");
        return;
    }
    // Lines added: the same before and after them.
    size_t p = 0;
    while (p < a.size() && a[p] == b[p])
        ++p;
    const size_t added = b.size() - a.size();
    size_t first = p; // first added line
    size_t rest = p;  // first line of the file after the added ones
    // The line before the added ones may only get the line break it lacked (the last line of
    // the file: the file's own, a lone CR in a file that starts with one), or the LF its lone
    // CR lacked, so that no reader takes two lines for one.
    if (p < a.size() && (Ending(a[p]).isEmpty() || Ending(a[p]) == "\r") && b[p].startsWith(a[p]) &&
        OnlyLineBreaks(b[p].mid(a[p].size())) && !Ending(b[p]).isEmpty()) {
        first = p + 1;
        rest = p + 1;
    }
    for (size_t j = rest; j < a.size(); ++j)
        Check(a[j] == b[j + added], "the lines after the added ones are unchanged");
    Check(added == (sectionExisted ? 1u : 2u), "one line for the key, one more for a new section");
    QByteArray inserted;
    for (size_t j = first; j < first + added; ++j)
        inserted += b[j];
    const QByteArray expected =
        (sectionExisted ? QByteArray() : '[' + section + ']') + key + '=' + value;
    Check(WithoutLineBreaks(inserted) == expected, "the added lines hold only the key and header");
    // A file whose lines end in a CR alone gets its own line break.
    Check(!Ending(inserted).isEmpty() || first + added == b.size(),
          "an added line inside the file ends with a line break");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // tmpfs when there is one: each run writes and renames a file.
    static QTemporaryDir folder(QDir("/dev/shm").exists()
                                    ? "/dev/shm/kalvex-fuzz-ini-XXXXXX"
                                    : QDir::tempPath() + "/kalvex-fuzz-ini-XXXXXX");
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const uint8_t flags = size > 0 ? data[0] : 0;
    QByteArray head[3];
    qsizetype pos = std::min<qsizetype>(1, input.size());
    for (QByteArray& h : head) {
        qsizetype nl = input.indexOf('\n', pos);
        if (nl < 0)
            nl = input.size();
        h = input.mid(pos, nl - pos);
        pos = std::min(nl + 1, input.size());
    }
    const QByteArray before = Reshape(input.mid(pos), flags);
    const QByteArray section = Name(head[0], "s");
    const QByteArray key = Name(head[1], "k");
    const QByteArray value = Value(head[2]);
    const QString sectionName = QString::fromLatin1(section);
    const QString keyName = QString::fromLatin1(key);

    const QString path = folder.filePath(QStringLiteral("fuzz.ini"));
    Store(path, before);
    TIniFile ini(path);
    const QStringList sections = ini.ReadSections();
    const QString old = ini.ReadString(sectionName, keyName, kNone);

    if (before.startsWith(kBom) && IsAscii(before.mid(kBom.size()))) {
        const QString plainPath = folder.filePath(QStringLiteral("plain.ini"));
        Store(plainPath, before.mid(kBom.size()));
        const TIniFile plain(plainPath);
        Check(plain.ReadSections() == sections, "a byte-order mark does not change the sections");
        Check(plain.ReadString(sectionName, keyName, kNone) == old,
              "a byte-order mark does not change what a key reads");
    }

    bool sectionExisted = false;
    for (const QString& s : sections)
        sectionExisted = sectionExisted || s.compare(sectionName, Qt::CaseInsensitive) == 0;

    Check(ini.WriteString(sectionName, keyName, QString::fromLatin1(value)),
          "writing a key into a readable file succeeds");
    const QByteArray after = Contents(path);
    Check(ini.ReadString(sectionName, keyName, kNone) == QString::fromLatin1(value),
          "the written value reads back");
    CheckOnlyItsLines(before, after, sectionExisted, section, key, value);
    return 0;
}
