#pragma once

#include <QWidget>

namespace klebwerk {

// Makes a widget an overlay: no frame, never takes the focus, lets every click
// through to the window below, stays above other windows and on every workspace,
// and stays out of taskbar and pager.
void machUeberlagerung(QWidget& fenster);

}  // namespace klebwerk
