#include "platform/program_icon.h"

#include "platform/program_icon_sizes.h"

#include <QApplication>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <map>

// Resources of a static library must be registered by hand, from the global namespace.
static void InitIconResources() {
    Q_INIT_RESOURCE(program_icon);
}

namespace kestrova {

namespace {

// The icon's sizes drawn ahead as PNG files, each read when first drawn. Read through the
// toolkit's own PNG reader, named: a reader left to find the format (as the toolkit's own icons
// are) would load every image plugin, the SVG one among them, to ask each.
class DrawnAheadIconEngine : public QIconEngine {
  public:
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap drawn = Drawn(Nearest(size));
        if (drawn.isNull()) {
            return drawn;
        }
        if (drawn.width() > size.width() || drawn.height() > size.height()) {
            drawn = drawn.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
        if (mode != QIcon::Normal && qobject_cast<QApplication*>(QCoreApplication::instance())) {
            QStyleOption option;
            option.palette = QApplication::palette();
            const QPixmap styled = QApplication::style()->generatedIconPixmap(mode, drawn, &option);
            if (!styled.isNull()) {
                drawn = styled;
            }
        }
        Q_UNUSED(state);
        return drawn;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const QPixmap drawn = pixmap(rect.size() * ratio, mode, state);
        painter->drawPixmap(rect, drawn);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int nearest = Nearest(size);
        return QSize(nearest, nearest).boundedTo(size);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const int size : kProgramIconSizes) {
            sizes.append(QSize(size, size));
        }
        return sizes;
    }

    QIconEngine* clone() const override { return new DrawnAheadIconEngine(*this); }
    QString key() const override { return QStringLiteral("KestrovaDrawnAhead"); }

  private:
    // The smallest size at least as large as asked for, else the largest.
    static int Nearest(const QSize& size) {
        const int wanted = std::max(size.width(), size.height());
        for (const int candidate : kProgramIconSizes) {
            if (candidate >= wanted) {
                return candidate;
            }
        }
        return kProgramIconSizes.back();
    }

    QPixmap Drawn(int size) {
        auto found = drawn_.find(size);
        if (found == drawn_.end()) {
            QImageReader reader(QStringLiteral(":/icons/kestrova-%1.png").arg(size), "png");
            reader.setAutoDetectImageFormat(false);
            found = drawn_.emplace(size, QPixmap::fromImage(reader.read())).first;
        }
        return found->second;
    }

    std::map<int, QPixmap> drawn_;
};

} // namespace

QIcon ProgramIcon() {
    // Made once: every window asks for it. Kept to the end, past the toolkit's own end.
    static const QIcon* const made = [] {
        InitIconResources();
        return new QIcon(new DrawnAheadIconEngine());
    }();
    return *made;
}

} // namespace kestrova
