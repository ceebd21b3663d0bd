#include "app/einzelstart.h"

namespace klebwerk {

Startweg entscheideStart(Einzelinstanz& instanz, std::function<void()> gerufen, const std::function<void()>& pause,
                         int versuche) {
    for (int versuch = 0; versuch < versuche; ++versuch) {
        if (versuch > 0) pause();
        switch (instanz.beanspruche(gerufen)) {
            case Einzelinstanz::Anspruch::eigen:
                return Startweg::eigene;
            case Einzelinstanz::Anspruch::fehler:
                return Startweg::ohneName;
            case Einzelinstanz::Anspruch::vergeben:
                break;
        }
        switch (instanz.rufe()) {
            case Einzelinstanz::Ruf::angenommen:
                return Startweg::uebergeben;
            case Einzelinstanz::Ruf::keineAntwort:
                return Startweg::haengt;
            case Einzelinstanz::Ruf::niemand:
                break;  // the holder went away: the name is free for the next try
        }
    }
    return Startweg::haengt;
}

}  // namespace klebwerk
