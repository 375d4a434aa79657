#include "Momento_Iso.h"

QString Momento_Iso(const QDateTime& momento) {
    return momento.isValid() ? momento.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                             : QString();
}
