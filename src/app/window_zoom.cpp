// The preview's size and the window's place on the screen: View > Zoom in the
// fixed window, every pixel of the drawing a block and the window growing to
// fit; View > Fit Preview to Window, where the user sizes the window and the
// preview takes the largest whole zoom that fits; and, either way, a window
// that stays inside the screen's available area.
#include "hoofer_window.h"

#include "app/key_frame_thumbnails.h"
#include "toolkit/thumbnail_strip.h"
#include "view/thumbnail.h"

#include <QEvent>
#include <QGroupBox>
#include <QLayout>

#include <algorithm>

namespace hoofer {

namespace {
/// The client area of the fixed window at 1×, without the strip.
constexpr int kClientWidth = 553, kClientHeight = 327;
/// The Result box starts here and keeps 6 pixels to the client's right edge
/// and 5 to the strip or the bottom; the preview sits 10 pixels in from its
/// left edge and 16 down from its top, and leaves 9 and 10 on the far sides.
constexpr int kResultLeft = 272, kResultRightGap = 6, kResultBottomGap = 5;
constexpr int kPreviewLeft = 10, kPreviewTop = 16, kPreviewRightGap = 9, kPreviewBottomGap = 10;
/// The strip spans the client under the boxes, inset as they are.
constexpr int kStripLeft = 8, kStripOverlap = 3;
/// The reference's row under the preview, gap above included.
constexpr int kReferenceRowHeight = 26;

/// Where a window's frame goes to lie inside area: as near as it can to
/// where it is, its top left corner in the area when it is the larger.
QPoint PlaceInside(const QRect &frame, const QRect &area)
{
    const int x = std::max(area.left(), std::min(frame.left(), area.left() + area.width() - frame.width()));
    const int y = std::max(area.top(), std::min(frame.top(), area.top() + area.height() - frame.height()));
    return {x, y};
}
} // namespace

int TfrmHoofer::StripHeight(int scale) const
{
    return stripKeyFrames->sizeHint().height() + (scale - m_thumbnails->Scale()) * kThumbnailHeight;
}

QSize TfrmHoofer::FixedClientSize(int zoom) const
{
    const QSize picture = Image->Picture().size();
    return QSize(kClientWidth, kClientHeight) + picture * (zoom - 1)
           + QSize(0, (m_stripShown ? StripHeight(m_thumbnails->Scale()) : 0)
                          + (m_referenceRowShown ? kReferenceRowHeight : 0));
}

void TfrmHoofer::ArrangeControls(QSize client)
{
    const int strip = m_stripShown ? stripKeyFrames->sizeHint().height() : 0;
    const int above = client.height() - strip;
    grpResult->setFixedSize(client.width() - kResultLeft - kResultRightGap, above - kResultBottomGap);
    // Centred in the box, which in the fixed window fits it exactly.
    const int row = m_referenceRowShown ? kReferenceRowHeight : 0;
    const QSize slack = grpResult->size() - Image->size()
                        - QSize(kPreviewLeft + kPreviewRightGap, kPreviewTop + kPreviewBottomGap + row);
    Image->move(kPreviewLeft + slack.width() / 2, kPreviewTop + slack.height() / 2);
    if (m_referenceRowShown)
        rowReference->setGeometry(kPreviewLeft, Image->geometry().bottom() + 3,
                                  grpResult->width() - kPreviewLeft - kPreviewRightGap, row - 4);
    if (m_stripShown)
        stripKeyFrames->setGeometry(kStripLeft, above - kStripOverlap, client.width() - 2 * kStripLeft, strip);
}

void TfrmHoofer::ArrangeFixedWindow()
{
    if (Image->Zoom() != Options.Zoom)
        Image->SetZoom(Options.Zoom);
    const QSize client = FixedClientSize(Options.Zoom);
    Client->setFixedSize(client);
    ArrangeControls(client);
    layout()->activate();
}

void TfrmHoofer::ArrangeWindow()
{
    if (m_fitting) {
        Client->setMinimumSize(kClientWidth, kClientHeight + (m_stripShown ? StripHeight(1) : 0)
                                                 + (m_referenceRowShown ? kReferenceRowHeight : 0));
        FitPreview();
    } else {
        ArrangeFixedWindow();
        KeepInsideScreen();
    }
}

void TfrmHoofer::SetZoom(int zoom)
{
    Options.Zoom = zoom == 2 || zoom == 3 ? zoom : 1;
    if (!m_fitting) {
        ArrangeFixedWindow();
        KeepInsideScreen();
    }
    ShowOptions();
}

void TfrmHoofer::FitPreview()
{
    const QSize client = Client->size(), picture = Image->Picture().size();
    const auto zoomFor = [&](int strip) {
        const int across = (client.width() - kClientWidth) / picture.width();
        const int row = m_referenceRowShown ? kReferenceRowHeight : 0;
        const int down = (client.height() - strip - row - kClientHeight) / picture.height();
        return 1 + std::max(0, std::min(across, down));
    };
    // Thumbnails twice as large while the preview still gets a zoom of 2 or more beside them.
    if (m_stripShown)
        m_thumbnails->SetScale(zoomFor(StripHeight(2)) >= 2 ? 2 : 1);
    const int zoom = zoomFor(m_stripShown ? StripHeight(m_thumbnails->Scale()) : 0);
    const bool rezoomed = zoom != Image->Zoom();
    if (rezoomed)
        Image->SetZoom(zoom);
    ArrangeControls(client);
    // A reference behind the figure is drawn anew at the new size.
    if (rezoomed)
        ShowBackdrop(true);
}

void TfrmHoofer::SetFitPreviewToWindow(bool fit)
{
    Options.FitPreviewToWindow = fit;
    if (fit != m_fitting) {
        if (!fit)
            RememberPlace();
        m_fitting = fit;
        // Changing the flags takes a shown window down: it comes back at once.
        const bool shown = isVisible();
        if (!fit && isMaximized())
            showNormal();
        setWindowFlag(Qt::WindowMaximizeButtonHint, fit);
        setWindowFlag(Qt::MSWindowsFixedSizeDialogHint, !fit);
        if (fit) {
            // The fixed size the layout gave the window goes with the constraint.
            layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
            setMinimumSize(0, 0);
            setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            Client->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            if (const WindowPlace &place = Options.Window; place.Width > 0)
                setGeometry(place.Left, place.Top, place.Width, place.Height);
            ArrangeWindow();
        } else {
            m_thumbnails->SetScale(1);
            layout()->setSizeConstraint(QLayout::SetFixedSize);
            ArrangeFixedWindow();
        }
        if (shown)
            show();
        if (m_stripShown)
            RefreshKeyFrameStrip();
        KeepInsideScreen();
    }
    ShowOptions();
}

void TfrmHoofer::mnuViewFitPreviewToWindowClick()
{
    SetFitPreviewToWindow(!Options.FitPreviewToWindow);
    SettingsChanged();
}

bool TfrmHoofer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Client && event->type() == QEvent::Resize && m_fitting)
        FitPreview();
    return QMainWindow::eventFilter(watched, event);
}

void TfrmHoofer::KeepInsideScreen()
{
    const QRect area = m_platform.AvailableArea(*this);
    if (area.isEmpty())
        return;
    // What the window manager adds around the window (nothing until it is shown).
    const QSize frame = frameGeometry().size() - size();
    const std::pair<toolkit::TMenuItem *, int> zooms[] = {{mnuViewZoom1, 1}, {mnuViewZoom2, 2}, {mnuViewZoom3, 3}};
    if (m_fitting) {
        for (const auto &[item, zoom] : zooms) {
            item->SetEnabled(false);
            item->SetToolTip("View > Fit Preview to Window chooses the zoom");
        }
        const QSize room = area.size() - frame;
        if (!isMaximized() && (width() > room.width() || height() > room.height()))
            resize(std::min(width(), room.width()), std::min(height(), room.height()));
    } else {
        const QSize picture = Image->Picture().size();
        const auto fits = [&](int zoom) {
            const QSize window = size() + frame + picture * (zoom - Image->Zoom());
            return zoom == 1 || (window.width() <= area.width() && window.height() <= area.height());
        };
        if (!fits(Options.Zoom)) {
            while (!fits(Options.Zoom))
                --Options.Zoom;
            ArrangeFixedWindow();
        }
        for (const auto &[item, zoom] : zooms) {
            item->SetEnabled(fits(zoom));
            item->SetToolTip(fits(zoom) ? QString()
                                        : QString("The window would not fit on this screen at %1×").arg(zoom));
        }
    }
    if (!isMaximized())
        move(PlaceInside(frameGeometry(), area));
}

void TfrmHoofer::RememberPlace()
{
    if (!m_fitting || !m_shown)
        return;
    const QRect place = isMaximized() ? normalGeometry() : geometry();
    Options.Window = {place.x(), place.y(), place.width(), place.height()};
}

} // namespace hoofer
