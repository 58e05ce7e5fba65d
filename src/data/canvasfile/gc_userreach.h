#ifndef GC_USERREACH_H
#define GC_USERREACH_H

// The values a user can give the canvas's items through the property
// panel, the style tool, drags, zooms and layouts. Drawing is made safe for
// every value within them; a canvas storing one beyond them was not written
// by a save, and is damaged.
class GC_UserReach
{
public:
    // Pixels per nucleotide: the property panel's range, which zooms and
    // length handles keep to as well.
    static constexpr double minPixPerNuc = 1e-10;
    static constexpr double maxPixPerNuc = 1e6;

    // Positions across: at the largest scale a genome of a thousand million
    // nucleotides is 10^15 pixels wide, and zooms and layouts place genomes
    // within a few such widths of each other.
    static constexpr double maxAcross = 1e16;
    // Positions up and down: nothing scales them; a drag moves an item by a
    // window's height at most, the panel and the style tool by 99,999.
    static constexpr double maxUpDown = 1e9;
    // A genome's name label, in lengths of its arrow from the arrow's start:
    // as far as anything reaches, from the narrowest arrow (one nucleotide
    // at the smallest scale).
    static constexpr double maxLabelLengths = maxAcross / minPixPerNuc;

    // Heights and arrow heads: the panel's and the style tool's largest.
    static constexpr double maxSize = 99999.0;
};

#endif
