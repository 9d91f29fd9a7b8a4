#pragma once

#include "printing/report/PreparedPage.h"

#include <QRectF>

class QPainter;

// Draws a prepared page onto any painter (printer, PDF, image, screen), scaled so that the
// paper fills target (device coordinates). Paints the paper white first; nothing is drawn
// outside it.
void PaintPage(QPainter &painter, const PreparedPage &page, const QRectF &target);
