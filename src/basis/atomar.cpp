#include "basis/atomar.h"

#include <QSaveFile>
#include <QString>

namespace klebwerk {

bool schreibeAtomar(const std::string& pfad, std::string_view inhalt) {
    QSaveFile datei(QString::fromStdString(pfad));
    if (!datei.open(QIODevice::WriteOnly)) return false;
    if (datei.write(inhalt.data(), static_cast<qint64>(inhalt.size())) != static_cast<qint64>(inhalt.size())) {
        datei.cancelWriting();
        return false;
    }
    return datei.commit();
}

}  // namespace klebwerk
