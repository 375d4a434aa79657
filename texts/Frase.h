#pragma once
// A text kept without its language: parts that are either a key of the language file with its
// arguments ("GEN_MEN038" with "2") or a literal ("0301", a text stored by an earlier version).
// What is recorded is kept this way and worded only when shown, in the language shown then.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

struct TParte_Frase {
    QString Clave;          // empty: the part is Literal
    QStringList Argumentos; // %1, %2 … of the key's text
    QString Literal;

    bool operator==(const TParte_Frase& o) const {
        return Clave == o.Clave && Argumentos == o.Argumentos && Literal == o.Literal;
    }
};

class TFrase {
public:
    TFrase() = default;
    // A text as it stands: a plain text is a literal.
    TFrase(const QString& literal) { // NOLINT(google-explicit-constructor)
        if (!literal.isEmpty())
            partes_.append({{}, {}, literal});
    }
    TFrase(const char* literal) : TFrase(QString::fromUtf8(literal)) {} // NOLINT
    static TFrase De_Clave(const QString& clave, const QStringList& argumentos = {});

    const QList<TParte_Frase>& Partes() const { return partes_; }
    bool isEmpty() const { return partes_.isEmpty(); }
    // The literal's text when the phrase is one literal (or nothing); else empty.
    bool Es_Literal() const { return partes_.size() <= 1 && Clave_Unica().isEmpty(); }
    QString Literal() const { return partes_.isEmpty() ? QString() : partes_.first().Literal; }
    // The key when the phrase is that key alone.
    QString Clave_Unica() const { return partes_.size() == 1 ? partes_.first().Clave : QString(); }

    TFrase& operator+=(const TFrase& otra);
    TFrase operator+(const TFrase& otra) const { return TFrase(*this) += otra; }
    bool operator==(const TFrase& o) const { return partes_ == o.partes_; }
    bool operator!=(const TFrase& o) const { return !(*this == o); }

private:
    QList<TParte_Frase> partes_;
};

// Words phrases in the current language. Each key is looked up once per object (the language
// file is read from disk at each lookup), so one object words a whole listing; make a new one
// after the language changes.
class TRedaccion {
public:
    QString Redacta(const TFrase& frase) const;
    const QString& Texto_De(const QString& clave) const;

private:
    mutable QHash<QString, QString> textos_;
};

// One phrase in the current language.
QString Redacta(const TFrase& frase);
