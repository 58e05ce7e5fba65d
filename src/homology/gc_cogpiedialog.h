#ifndef GC_COGPIEDIALOG_H
#define GC_COGPIEDIALOG_H

#include "gc_positionindex.h"

#include <QColor>
#include <QDialog>
#include <QMap>
#include <QString>

class GC_CogMatching;
class GC_CogPieView;
class QItemSelectionModel;
class QStandardItemModel;

// How the positions of one genome divide among the COG categories of the
// hits on its COG bar: a table (category, base pairs, percent) beside a pie
// chart of the same model. The scene makes one, keeps it for its whole life
// and, at each request, assigns a bar's two maps and calls
// computeStatistics() before showing it (modeless).
class GC_CogPieDialog : public QDialog
{
    Q_OBJECT

public:
    GC_CogPieDialog();
    ~GC_CogPieDialog() override;

    // Copies of the bar's maps, assigned by the scene; the hits stay the bar's
    // and are read only inside computeStatistics().
    QMap<int, GC_CogMatching *> matchings;
    GC_PositionIndex positionMap;

    // Counts each position once, for the category of the hit that covers it
    // or for the first row when none does, and refills the table: the
    // uncovered row, then one row per category of the COG collection in its
    // class order. False, with the table empty and the reason in words in
    // problem, when the collection's categories cannot be read whole.
    bool computeStatistics(QString *problem = nullptr);

    QStandardItemModel *statisticsModel() const { return model; }
    GC_CogPieView *pieChart() const { return pieView; }

private slots:
    void insertRow(int row, const QString &name, float value, const QColor &color,
                   const QString &percentage);

private:
    void setupModel();
    void setupViews();

    QStandardItemModel *model = nullptr;
    GC_CogPieView *pieView = nullptr;
    QItemSelectionModel *selectionModel = nullptr;
};

#endif
