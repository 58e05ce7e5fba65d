#include "scene_fixture.h"

#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_genomeview.h"
#include "test_data.h"

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QSvgRenderer>

namespace SceneFixture {

GC_Genome *genomeWithSequence(int length, const QString &name, quint32 seed)
{
    auto *genome = new GC_Genome;
    genome->setDnaSequence(QString::fromLatin1(TestData::randomDna(length, seed)).toUpper());
    genome->setCoords(GC_Interval(1, length));
    genome->setName(name);
    return genome;
}

GC_Gene *addGene(GC_Genome *genome, int from, int to)
{
    auto *gene = new GC_Gene;
    gene->setFromTo(from, to);
    genome->addGene(gene);
    return gene;
}

std::unique_ptr<GC_GenomeView> showView(GC_GenomeScene &scene, int width, int height)
{
    auto view = std::make_unique<GC_GenomeView>();
    view->setFrameShape(QFrame::NoFrame);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    view->setScene(&scene);
    view->resize(width, height);
    view->show();
    view->ensureVisible(QRectF(0, 0, 1, 1), 0, 0);
    return view;
}

QPoint viewportPoint(const GC_GenomeView &view, const QPointF &scenePoint)
{
    return view.mapFromScene(scenePoint);
}

QImage drawnSvg(const QString &fileName, const QSize &size, const QColor &background)
{
    QSvgRenderer renderer(fileName);
    if (!renderer.isValid())
        return QImage();
    QImage image(size, QImage::Format_ARGB32);
    image.fill(background);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

void activate(GC_GenomeScene &scene)
{
    QEvent activation(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&scene, &activation);
}

} // namespace SceneFixture
