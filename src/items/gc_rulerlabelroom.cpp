#include "gc_rulerlabelroom.h"

#include <QChar>

#include <algorithm>
#include <cmath>

GC_RulerLabelRoom::GC_RulerLabelRoom(int from, int to, qint64 period, int periodsPerBigLine,
                                     double pixPerNuc, const QFont &font, const QLocale &locale)
    : m_from(from)
    , m_to(to)
    , m_period(period)
    , m_periodsPerBigLine(periodsPerBigLine)
    , m_longPeriod(GC_Ruler::longPeriod(period, periodsPerBigLine))
    , m_pixPerNuc(pixPerNuc)
    , m_font(font)
    , m_metrics(font)
    // A digit's width between two numbers, so that they never read as one.
    , m_gap(m_metrics.horizontalAdvance(QLatin1Char('0')))
{
    const QFontMetricsF &metrics = m_metrics;
    const QString endLabel = locale.toString(to);
    m_endWidth = metrics.horizontalAdvance(endLabel);

    // The first tick of the range, as GC_Ruler::ticks() labels it; one at
    // or past the end is the end's.
    const qint64 first = period > 0 ? qint64(from) / period * period : 0;
    if (first < to) {
        m_startNucleotide = first == 0 ? 1 : from;
        m_startWidth = metrics.horizontalAdvance(first == 0 ? QStringLiteral("1") : locale.toString(from));
        m_startShown = apart(m_startNucleotide, m_startWidth, to, m_endWidth);
    }

    // Numbers between the ends are below the end's, so none is wider than
    // the end's digits all written as the widest digit.
    double widestDigit = 0.0;
    for (char digit = '0'; digit <= '9'; ++digit)
        widestDigit = std::max(widestDigit, metrics.horizontalAdvance(QLatin1Char(digit)));
    double widest = 0.0;
    for (const QChar c : endLabel)
        widest += c.isDigit() ? widestDigit : metrics.horizontalAdvance(c);
    // A tiny, zero or broken scale gives a stride beyond any tick: no number
    // between the ends.
    const qint64 never = qint64(1) << 50;
    const double strideNeeded = (widest + m_gap) / (double(m_longPeriod) * pixPerNuc);
    if (!(strideNeeded < double(never)))
        m_stride = never;
    else
        m_stride = std::max<qint64>(1, qint64(std::ceil(strideNeeded)));
}

bool GC_RulerLabelRoom::isFor(int from, int to, qint64 period, int periodsPerBigLine,
                              double pixPerNuc, const QFont &font) const
{
    return from == m_from && to == m_to && period == m_period
           && periodsPerBigLine == m_periodsPerBigLine && pixPerNuc == m_pixPerNuc && font == m_font;
}

bool GC_RulerLabelRoom::apart(double nucleotideA, double widthA, double nucleotideB,
                              double widthB) const
{
    return std::abs(nucleotideA - nucleotideB) * m_pixPerNuc >= (widthA + widthB) / 2.0 + m_gap;
}

bool GC_RulerLabelRoom::hasRoom(const GC_Ruler::Tick &tick) const
{
    if (tick.value >= m_to)
        return true;
    if (tick.value == 0 || tick.value <= m_from)
        return m_startShown;
    if ((tick.value / m_longPeriod) % m_stride != 0)
        return false;
    const double width = m_metrics.horizontalAdvance(tick.label);
    return apart(tick.nucleotide, width, m_to, m_endWidth)
           && (!m_startShown || apart(tick.nucleotide, width, m_startNucleotide, m_startWidth));
}
