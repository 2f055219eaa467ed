#pragma once
// Little game scenes for thumbnails and panels, painted from shapes and gradients.

#include "content.h"

#include <QPainter>
#include <QRectF>

namespace kestrova::sampledisc {

// Paints the scene to cover `target` (a 2:1 design, cropped to the target's shape).
void PaintScene(QPainter& p, Scene scene, const QRectF& target);
// The magazine's mascot, standing in a box about 100 x 120 at `target`'s scale.
void PaintTobrik(QPainter& p, const QRectF& target, bool waving = true);

} // namespace kestrova::sampledisc
