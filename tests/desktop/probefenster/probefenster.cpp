// A small window for the desktop tests: a title and geometry from the command line,
// a text area that takes the focus, and every key press it receives on standard output
// ("taste <Qt key> <modifier bits>"), so that a test can see what reached it.
//   klebwerk_probefenster TITEL X Y BREITE HOEHE

#include <cstdio>

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTimer>

namespace {

class Textfeld : public QPlainTextEdit {
protected:
    void keyPressEvent(QKeyEvent* e) override {
        std::printf("taste %d %u\n", e->key(), static_cast<unsigned>(e->modifiers().toInt()));
        std::fflush(stdout);
        QPlainTextEdit::keyPressEvent(e);
    }
    void focusInEvent(QFocusEvent* e) override {
        std::printf("fokus\n");
        std::fflush(stdout);
        QPlainTextEdit::focusInEvent(e);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList a = app.arguments();
    Textfeld feld;
    feld.setWindowTitle(a.value(1, QStringLiteral("Probefenster")));
    feld.setGeometry(a.value(2, "100").toInt(), a.value(3, "100").toInt(), a.value(4, "400").toInt(),
                     a.value(5, "300").toInt());
    feld.show();
    QTimer::singleShot(0, &feld, [&feld] {
        std::printf("fenster %llu\n", static_cast<unsigned long long>(feld.winId()));
        std::fflush(stdout);
    });
    return app.exec();
}
