#pragma once

#include <cstdlib>

#include <QApplication>

namespace klebwerk::bench {

// The one QApplication of the benchmark program, on Qt's offscreen platform unless the
// environment chose another. It is kept to the end of the process: taken down among
// the exit handlers, after Qt's own statics, it would crash.
inline void sorgeFuerQt() {
    if (QCoreApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "klebwerk_bench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

}  // namespace klebwerk::bench
