#include "targets/ziel.h"

namespace klebwerk {
namespace {

std::string anwendungsName(Arbeitsplatz& arbeitsplatz, int pid) {
    auto a = arbeitsplatz.anwendung(pid);
    return a && !a->name.empty() ? a->name : "App";
}

}  // namespace

Ziel::Ziel(const AX& ax, Arbeitsplatz& arbeitsplatz, Element f, int p)
    : fenster(std::move(f)),
      app(ax.anwendung(p)),
      pid(p),
      appName(anwendungsName(arbeitsplatz, p)),
      titel(ax.text(fenster, "AXTitle").value_or("")),
      ax_(ax) {}

std::uint32_t Ziel::nummer() const { return ax_.fensterNummer(fenster).value_or(0); }

bool Ziel::gueltig() const { return ax_.text(fenster, "AXRole").has_value(); }

}  // namespace klebwerk
