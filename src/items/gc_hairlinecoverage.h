#ifndef GC_HAIRLINECOVERAGE_H
#define GC_HAIRLINECOVERAGE_H

#include <QHash>
#include <QPoint>
#include <QRgb>
#include <QTransform>

class QPainter;

// How opaque each hairline drawn so far in one frame has become. Zoomed out,
// tens of thousands of bands under a pixel wide fall on the same few
// thousand device lines; once a line is opaque in a colour, drawing it again
// in that colour changes no pixel, so such a band is skipped.
class GC_HairlineCoverage
{
public:
    // Forgets everything when the frame, painter or transform differ from
    // the previous call's.
    void beginFrame(const void *scene, quint64 frame, const QPainter *painter,
                    const QTransform &transform);
    // Records a line from a to b (device pixels) drawn in colour rgb with the
    // given alpha; false when that line is already opaque in that colour and
    // need not be drawn.
    bool admit(const QPoint &a, const QPoint &b, QRgb rgb, float alpha);
    int lineCount() const { return int(m_alpha.size()); }
    // Advances with every fresh start; never 0.
    quint64 generation() const { return m_generation; }
    // Forgets everything: a frame began that nobody announced.
    void restart();

    // Painting runs on the GUI thread only.
    static GC_HairlineCoverage &instance();

private:
    struct Line
    {
        int x0, y0, x1, y1;
        QRgb rgb;
        bool operator==(const Line &o) const
        {
            return x0 == o.x0 && y0 == o.y0 && x1 == o.x1 && y1 == o.y1 && rgb == o.rgb;
        }
    };
    friend size_t qHash(const Line &line, size_t seed) noexcept
    {
        return qHashMulti(seed, line.x0, line.y0, line.x1, line.y1, line.rgb);
    }

    const void *m_scene = nullptr;
    quint64 m_frame = 0;
    const QPainter *m_painter = nullptr;
    QTransform m_transform;
    quint64 m_generation = 1;
    // Combined alpha of the lines drawn: 1 - product of (1 - alpha).
    QHash<Line, float> m_alpha;
};

#endif
