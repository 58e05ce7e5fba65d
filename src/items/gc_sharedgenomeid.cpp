#include "gc_sharedgenomeid.h"

#include <QHash>

#include <limits>
#include <vector>

QList<int> GC_SharedGenomeId::owners(const QList<GC_Interval> &ranges, const QList<Row> &rows)
{
    const int genomes = int(ranges.size());
    const int count = int(rows.size());
    QList<int> result(count, 0);
    if (genomes <= 1 || count == 0)
        return result;

    // Which genomes may take each row: those whose range it overlaps (a
    // genome keeps no gene or annotation wholly outside its range), or all
    // of them when there is none.
    std::vector<std::vector<char>> allowed(count, std::vector<char>(genomes, 0));
    for (int row = 0; row < count; ++row) {
        bool any = false;
        for (int genome = 0; genome < genomes; ++genome) {
            if (ranges.at(genome).overlaps(rows.at(row).range)) {
                allowed[row][genome] = 1;
                any = true;
            }
        }
        if (!any)
            std::fill(allowed[row].begin(), allowed[row].end(), 1);
    }

    // Identical copies: the n-th goes to the n-th genome that may take it.
    QHash<QString, int> copiesSeen;
    QHash<QString, int> copies;
    for (const Row &row : rows)
        ++copies[row.content];
    for (int row = 0; row < count; ++row) {
        const QString &content = rows.at(row).content;
        if (copies.value(content) < 2)
            continue;
        int wanted = copiesSeen[content]++;
        for (int genome = 0; genome < genomes; ++genome) {
            if (allowed[row][genome] && wanted-- == 0) {
                std::fill(allowed[row].begin(), allowed[row].end(), 0);
                allowed[row][genome] = 1;
                break;
            }
        }
    }

    // Fewest changes of genome along the file: switches[row][genome] is the
    // least number of changes up to row when row goes to genome.
    constexpr int none = std::numeric_limits<int>::max() / 2;
    std::vector<std::vector<int>> switches(count, std::vector<int>(genomes, none));
    for (int genome = 0; genome < genomes; ++genome)
        switches[0][genome] = allowed[0][genome] ? 0 : none;
    for (int row = 1; row < count; ++row) {
        int best = none;
        for (int genome = 0; genome < genomes; ++genome)
            best = std::min(best, switches[row - 1][genome]);
        for (int genome = 0; genome < genomes; ++genome) {
            if (allowed[row][genome])
                switches[row][genome] = std::min(switches[row - 1][genome], best + 1);
        }
    }
    // Back from the last row, keeping the earliest genome on ties.
    int current = 0;
    for (int genome = 1; genome < genomes; ++genome) {
        if (switches[count - 1][genome] < switches[count - 1][current])
            current = genome;
    }
    for (int row = count - 1; row >= 0; --row) {
        result[row] = current;
        if (row == 0)
            break;
        const int here = switches[row][current];
        if (switches[row - 1][current] == here)
            continue;
        for (int genome = 0; genome < genomes; ++genome) {
            if (switches[row - 1][genome] == here - 1) {
                current = genome;
                break;
            }
        }
    }
    return result;
}
