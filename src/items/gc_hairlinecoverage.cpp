#include "gc_hairlinecoverage.h"

namespace {

// Past this, the remaining blend moves no 8-bit channel by half a step.
constexpr float opaque = 1.0f - 0.5f / 255.0f;

} // namespace

GC_HairlineCoverage &GC_HairlineCoverage::instance()
{
    static GC_HairlineCoverage coverage;
    return coverage;
}

void GC_HairlineCoverage::beginFrame(const void *scene, quint64 frame, const QPainter *painter,
                                     const QTransform &transform)
{
    if (scene == m_scene && frame == m_frame && painter == m_painter && transform == m_transform)
        return;
    m_scene = scene;
    m_frame = frame;
    m_painter = painter;
    m_transform = transform;
    restart();
}

void GC_HairlineCoverage::restart()
{
    ++m_generation;
    m_alpha.clear();
}

bool GC_HairlineCoverage::admit(const QPoint &a, const QPoint &b, QRgb rgb, float alpha)
{
    float &combined = m_alpha[Line{a.x(), a.y(), b.x(), b.y(), rgb & 0xffffff}];
    if (combined >= opaque)
        return false;
    combined = 1.0f - (1.0f - combined) * (1.0f - alpha);
    return true;
}
