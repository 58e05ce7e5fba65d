#include "gc_sceneimagerenderer.h"

#include <QFileInfo>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QImageWriter>
#include <QLocale>
#include <QPainter>
#include <QSaveFile>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QSvgGenerator>

#include <cmath>

namespace {

// The largest raster image drawn at once.
const double MaxImageBytes = 1024.0 * 1024.0 * 1024.0;

// The longest side of a picture: beyond it the single-precision coordinates
// of painting engines and SVG viewers no longer tell neighbouring pixels
// apart.
const double MaxSidePixels = 16777216.0;

QString pixels(double value)
{
    return value < 1.0e15 ? QLocale().toString(qint64(value)) : QLocale().toString(value, 'g', 3);
}

// The pixel of SVG and CSS.
const int SvgDotsPerInch = 96;

} // namespace

GC_SceneImageRenderer::GC_SceneImageRenderer(QGraphicsScene *scene, QGraphicsView *view)
    : m_scene(scene)
    , m_view(view)
{
}

bool GC_SceneImageRenderer::fail(const QString &text)
{
    m_errorText = text;
    return false;
}

QString GC_SceneImageRenderer::fileNameForFormat(const QString &fileName, const QString &format)
{
    const int dot = int(fileName.lastIndexOf(QLatin1Char('.')));
    const QString suffix = dot < 0 ? QString() : fileName.mid(dot + 1).toUpper();
    if (suffix == format)
        return fileName;
    return fileName + QLatin1Char('.') + format;
}

bool GC_SceneImageRenderer::render(QString &fileName, const QString &format, bool wholeScene,
                                   bool antialiasing)
{
    m_errorText.clear();
    if (fileName.isEmpty())
        return fail(QStringLiteral("No file name given."));
    if (format.isEmpty())
        return fail(QStringLiteral("No image format given."));
    if (!m_scene || !m_view)
        return fail(QStringLiteral("The canvas is not shown in any view."));
    fileName = fileNameForFormat(fileName, format);
    // Hatching, dashed outlines and handles show what the user selected in
    // the window; they are no part of the picture.
    const QList<QGraphicsItem *> selected = setSelectionAside();
    const auto giveBack = qScopeGuard([&] { restoreSelection(selected); });
    if (wholeScene)
        m_wholeRect = m_scene->itemsBoundingRect();
    if (format == QLatin1String("SVG"))
        return renderSvg(fileName, wholeScene);
    return renderRaster(fileName, format, wholeScene, antialiasing);
}

QList<QGraphicsItem *> GC_SceneImageRenderer::setSelectionAside()
{
    const QSignalBlocker quiet(m_scene);
    const QList<QGraphicsItem *> selected = m_scene->selectedItems();
    m_scene->clearSelection();
    return selected;
}

void GC_SceneImageRenderer::restoreSelection(const QList<QGraphicsItem *> &items)
{
    const QSignalBlocker quiet(m_scene);
    for (QGraphicsItem *item : items)
        item->setSelected(true);
}

QSizeF GC_SceneImageRenderer::targetSize(bool wholeScene) const
{
    // The whole scene at one pixel per unit, or what the view shows.
    if (!wholeScene)
        return QSizeF(m_view->viewport()->size());
    return QSizeF(std::round(m_wholeRect.width()), std::round(m_wholeRect.height()));
}

QString GC_SceneImageRenderer::sizeProblem(const QSizeF &size, bool raster) const
{
    const double width = size.width();
    const double height = size.height();
    const bool finite = std::isfinite(width) && std::isfinite(height);
    if (finite && (width < 1.0 || height < 1.0))
        return QStringLiteral("There is nothing to draw.");
    if (finite && width <= MaxSidePixels && height <= MaxSidePixels
        && (!raster || 4.0 * width * height <= MaxImageBytes))
        return QString();
    const QString wouldBe = finite ? QStringLiteral("%1 by %2 pixels").arg(pixels(width), pixels(height))
                                   : QStringLiteral("without bounds");
    return QStringLiteral("The image of the whole canvas would be %1, too large to draw. "
                          "Export the current view instead, or make the canvas smaller: lower "
                          "the genomes' scale (pixels per nucleotide) or bring far items closer.")
        .arg(wouldBe);
}

bool GC_SceneImageRenderer::renderSvg(const QString &fileName, bool wholeScene)
{
    const QSizeF exact = targetSize(wholeScene);
    const QString problem = sizeProblem(exact, false);
    if (!problem.isEmpty())
        return fail(problem);
    const QSize size = exact.toSize();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("Cannot write %1: %2").arg(fileName, file.errorString()));
    {
        // Page size, resolution and view box agree: one drawing unit is one
        // CSS pixel (96 to the inch), so every viewer fills the page with
        // the drawing.
        QSvgGenerator generator;
        generator.setOutputDevice(&file);
        generator.setResolution(SvgDotsPerInch);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        QPainter painter;
        if (!painter.begin(&generator))
            return fail(QStringLiteral("Cannot draw the SVG image %1.").arg(fileName));
        if (wholeScene)
            m_scene->render(&painter, QRectF(QPointF(0, 0), size), m_wholeRect);
        else
            m_view->render(&painter);
        painter.end();
    }
    if (!file.commit())
        return fail(QStringLiteral("Cannot write %1: %2").arg(fileName, file.errorString()));
    return true;
}

bool GC_SceneImageRenderer::renderRaster(const QString &fileName, const QString &format,
                                         bool wholeScene, bool antialiasing)
{
    // Past the size limits the memory would be promised but perhaps never
    // delivered.
    const QSizeF exact = targetSize(wholeScene);
    const QString problem = sizeProblem(exact, true);
    if (!problem.isEmpty())
        return fail(problem);
    const QSize size = exact.toSize();
    // Drawn in the painter's native 32-bit format (several times faster
    // than painting 24-bit directly), written as 24-bit RGB.
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return fail(QStringLiteral("The image of %1 by %2 pixels is too large.")
                        .arg(size.width())
                        .arg(size.height()));
    {
        // The whole image, rounded-up edge included: new pixels are garbage.
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, antialiasing);
        if (wholeScene)
            m_scene->render(&painter, QRectF(), m_wholeRect);
        else
            m_view->render(&painter);
    }
    image.convertTo(QImage::Format_RGB888);
    if (image.isNull())
        return fail(QStringLiteral("The image of %1 by %2 pixels is too large.")
                        .arg(size.width())
                        .arg(size.height()));
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("Cannot write %1: %2").arg(fileName, file.errorString()));
    QImageWriter writer(&file, format.toLatin1());
    if (!writer.write(image)) {
        file.cancelWriting();
        return fail(QStringLiteral("Cannot write %1 as %2: %3")
                        .arg(fileName, format, writer.errorString()));
    }
    if (!file.commit())
        return fail(QStringLiteral("Cannot write %1: %2").arg(fileName, file.errorString()));
    return true;
}
