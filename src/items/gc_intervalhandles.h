#ifndef GC_INTERVALHANDLES_H
#define GC_INTERVALHANDLES_H

#include "gc_interval.h"

class GC_ControlPoint;
class GC_Genome;
class QGraphicsItem;

// The two drag handles at the ends of an item that covers a nucleotide
// interval of its genome (a gene or an annotation). They exist while the
// item is selected: this places them on the interval's nucleotide edges,
// keeps a dragged handle from passing the other one and turns a drag back
// into an interval. The handles are child items of the owner, which
// destroys them with itself.
class GC_IntervalHandles
{
public:
    GC_ControlPoint *start() const { return m_start; }
    GC_ControlPoint *end() const { return m_end; }

    // Follows the owner's selection: a newly selected owner without handles
    // gets two of its kind, placed and shown by the scene's switch; a
    // deselected one loses them. True when the handles were just made.
    template <class Handle, class Owner>
    bool followSelection(Owner *owner, bool selected, const GC_Interval &coords)
    {
        if (!selected) {
            destroy();
            return false;
        }
        if (m_start || m_end)
            return false;
        m_start = new Handle(owner);
        m_end = new Handle(owner);
        place(owner->getGenome(), coords);
        showBySceneSwitch(owner);
        return true;
    }

    // Moves both handles onto the start edges of the interval's first and
    // last nucleotide, pointing away from each other.
    void place(const GC_Genome *genome, const GC_Interval &coords);
    // Both handles visible exactly when the owner's canvas shows control
    // points; nothing outside a canvas.
    void updateVisibility(const QGraphicsItem *owner);
    // The x a dragged handle may take: up to the other handle, never past
    // it, and the start never before nucleotide 1.
    double bound(const GC_Genome *genome, const GC_ControlPoint *handle, double x) const;
    // The interval a dragged handle asks for, starting at 1 at the least;
    // coords as they are for a handle that is neither of the two.
    GC_Interval dragged(const GC_Genome *genome, const GC_ControlPoint *handle,
                        const GC_Interval &coords) const;

private:
    bool bothExist() const { return m_start && m_end; }
    void destroy();
    void showBySceneSwitch(const QGraphicsItem *owner);

    GC_ControlPoint *m_start = nullptr;
    GC_ControlPoint *m_end = nullptr;
};

#endif
