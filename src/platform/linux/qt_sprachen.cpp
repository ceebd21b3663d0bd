#include "platform/linux/qt_sprachen.h"

#include <QLocale>

namespace klebwerk::linuxdesk {

std::vector<std::string> QtSprachen::bevorzugt() {
    std::vector<std::string> liste;
    for (const QString& s : QLocale::system().uiLanguages()) liste.push_back(s.toStdString());
    return liste;
}

}  // namespace klebwerk::linuxdesk
