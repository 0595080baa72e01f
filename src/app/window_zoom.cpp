// View > Zoom: the preview at twice or three times the player's size, every
// pixel of the drawing a block, the window growing to fit.
#include "hoofer_window.h"

#include "toolkit/thumbnail_strip.h"

#include <QGroupBox>
#include <QLayout>

namespace hoofer {

void TfrmHoofer::SetZoom(int zoom)
{
    if (zoom != 2 && zoom != 3)
        zoom = 1;
    Options.Zoom = zoom;
    ShowOptions();
    const int steps = zoom - Image->Zoom();
    if (steps == 0)
        return;
    // The Result box and the window grow by what the preview grows; the
    // strip, when shown, stays under everything and spans the window.
    const QSize growth(steps * Image->Picture().width(), steps * Image->Picture().height());
    Image->SetZoom(zoom);
    grpResult->setFixedSize(grpResult->size() + growth);
    Client->setFixedSize(Client->size() + growth);
    stripKeyFrames->move(stripKeyFrames->pos() + QPoint(0, growth.height()));
    stripKeyFrames->resize(stripKeyFrames->width() + growth.width(), stripKeyFrames->height());
    layout()->activate();
}

} // namespace hoofer
