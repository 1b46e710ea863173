// Lets the engine's and the editors' templates paint through the main window.
#pragma once

#include "TForm1.h"

namespace tivla {

struct FormPainter {
    TForm1& form;
    void PaintAliveCell(int x, int y) { form.PaintAliveCell(x, y); }
    void PaintDeadCell(int x, int y) { form.PaintDeadCell(x, y); }
};

} // namespace tivla
