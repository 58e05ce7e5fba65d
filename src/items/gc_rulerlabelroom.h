#ifndef GC_RULERLABELROOM_H
#define GC_RULERLABELROOM_H

#include "gc_ruler.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLocale>

// Which long ticks of a ruler have room for their numbers at a scale: a
// number that would touch another is left out. The end keeps its number;
// the start keeps its own while it clears the end's; the numbers between
// keep a steady stride wide enough for the widest of them and give way to
// either end's. Each answer rests on the tick alone, never on which ticks a
// paint call draws, so a partial repaint shows what a whole one shows.
class GC_RulerLabelRoom
{
public:
    GC_RulerLabelRoom(int from, int to, qint64 period, int periodsPerBigLine, double pixPerNuc,
                      const QFont &font, const QLocale &locale = QLocale());

    // Whether it was worked out for these: a ruler keeps it between paints
    // while they stay.
    bool isFor(int from, int to, qint64 period, int periodsPerBigLine, double pixPerNuc,
               const QFont &font) const;
    // For a long tick of GC_Ruler::ticks() with the same range and periods.
    bool hasRoom(const GC_Ruler::Tick &tick) const;

private:
    // Whether two numbers, centred on the given nucleotides, stand apart.
    bool apart(double nucleotideA, double widthA, double nucleotideB, double widthB) const;

    int m_from;
    int m_to;
    qint64 m_period;
    int m_periodsPerBigLine;
    qint64 m_longPeriod;
    double m_pixPerNuc;
    QFont m_font;
    QFontMetricsF m_metrics;
    double m_gap;
    double m_endWidth;
    bool m_startShown = false;
    int m_startNucleotide = 0;
    double m_startWidth = 0.0;
    // Only every stride-th long period between the ends carries its number.
    qint64 m_stride = 1;
};

#endif
