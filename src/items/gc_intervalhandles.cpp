#include "gc_intervalhandles.h"

#include "gc_controlpoint.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_storedvaluecheck.h"

#include <algorithm>
#include <cmath>

namespace {

// The nucleotide a handle stands on, held to where a stored interval may
// reach: dragged far off a genome drawn small, a handle passes every
// nucleotide (and the int range).
int nucleotide(double n)
{
    return int(std::clamp(n, 1.0, double(GC_StoredValueCheck::maxCoordinate)));
}

} // namespace

void GC_IntervalHandles::destroy()
{
    if (!bothExist())
        return;
    delete m_start;
    delete m_end;
    m_start = nullptr;
    m_end = nullptr;
}

void GC_IntervalHandles::showBySceneSwitch(const QGraphicsItem *owner)
{
    const GC_GenomeScene *canvas = qobject_cast<GC_GenomeScene *>(owner->scene());
    const bool show = canvas && canvas->showControlPoints();
    m_start->setVisible(show);
    m_end->setVisible(show);
}

void GC_IntervalHandles::place(const GC_Genome *genome, const GC_Interval &coords)
{
    if (!genome || !bothExist())
        return;
    const double x1 = genome->nucStartX(coords.start());
    const double x2 = genome->nucStartX(coords.end());
    m_start->placeAt(x1);
    m_end->placeAt(x2);
    m_start->setShapeType(x1 <= x2 ? 0 : 1);
    m_end->setShapeType(x1 <= x2 ? 1 : 0);
}

void GC_IntervalHandles::updateVisibility(const QGraphicsItem *owner)
{
    const GC_GenomeScene *canvas = qobject_cast<GC_GenomeScene *>(owner->scene());
    if (!canvas || !bothExist())
        return;
    m_start->setVisible(canvas->showControlPoints());
    m_end->setVisible(canvas->showControlPoints());
}

double GC_IntervalHandles::bound(const GC_Genome *genome, const GC_ControlPoint *handle,
                                 double x) const
{
    if (!genome || !bothExist())
        return 0.0;
    const bool forward = genome->getOrientation() == 1;
    if (handle == m_start) {
        // No writer stores a coordinate below 1; a reader takes it for damage.
        const double first = genome->nucStartX(1);
        x = forward ? std::max(x, first) : std::min(x, first);
        return forward ? std::min(x, m_end->x()) : std::max(x, m_end->x());
    }
    if (handle == m_end)
        return forward ? std::max(x, m_start->x()) : std::min(x, m_start->x());
    return 0.0;
}

GC_Interval GC_IntervalHandles::dragged(const GC_Genome *genome, const GC_ControlPoint *handle,
                                        const GC_Interval &coords) const
{
    if (!genome || !bothExist())
        return coords;
    if (handle == m_start) {
        // The start handle stands on the start edge of its nucleotide, half a
        // nucleotide before its centre: round, so that a handle left where it
        // was placed keeps the interval (flooring would lose one each time).
        const int n = nucleotide(std::floor(genome->xToNuc(handle->x()) + 0.5));
        return GC_Interval(std::min(n, coords.end()), coords.end());
    }
    if (handle == m_end) {
        const int n = nucleotide(std::ceil(genome->xToNuc(handle->x())));
        return GC_Interval(coords.start(), std::max(n, coords.start()));
    }
    return coords;
}
