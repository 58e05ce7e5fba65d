#include "gc_magicstylerwidget.h"
#include "ui_gc_magicstylerwidget.h"

#include "gc_colorpicker.h"
#include "gc_fontpicker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QMessageBox>
#include <QSpinBox>
#include <QTreeWidgetItem>

#include <limits>

GC_MagicStylerWidget::GC_MagicStylerWidget(QWidget *parent)
    : QWidget(parent), ui(new Ui::GC_MagicStylerWidget)
{
    ui->setupUi(this);
    ui->treeWidget->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    ui->treeWidget->headerItem()->setText(1, QString());
    setEnabled(false);
    ui->treeWidget->header()->setSectionResizeMode(0, QHeaderView::Stretch);
}

GC_MagicStylerWidget::~GC_MagicStylerWidget()
{
    delete ui;
}

void GC_MagicStylerWidget::buildTree()
{
    if (isTreeBuilt())
        return;
    buildGenomeRows();
    buildGeneRows();
    buildAnotationRows();
    buildMatchingRows();
    buildRulerRows();
    buildFreeTextRows();
    buildSceneRows();
}

GC_Style GC_MagicStylerWidget::style() const
{
    GC_Style style;
    for (const Row &row : m_rows) {
        style.*row.flag = row.apply->isChecked();
        row.writeValue(style);
    }
    return style;
}

void GC_MagicStylerWidget::on_buttonApply_clicked()
{
    const GC_Style record = style();
    reportRefusedRows(record);
    emit applyStyle(record, ui->checkBoxForce->isChecked(), ui->checkBoxAllItems->isChecked(),
                    ui->checkBoxChildItems->isChecked());
}

void GC_MagicStylerWidget::reportRefusedRows(const GC_Style &record)
{
    const QList<GC_Style::Flag> refused = record.refusedFlags();
    if (refused.isEmpty())
        return;
    QStringList paths;
    for (const Row &row : std::as_const(m_rows)) {
        if (refused.contains(row.flag))
            paths << row.path;
    }
    QMessageBox::warning(this, tr("Style tool"),
                         tr("These rows hold a size or scale of 0, which no item can take, "
                            "and were not applied:\n%1")
                             .arg(paths.join(QLatin1Char('\n'))));
}

// ---------------------------------------------------------------- rows

QTreeWidgetItem *GC_MagicStylerWidget::addGroup(QTreeWidgetItem *parent, const QString &label)
{
    auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(ui->treeWidget);
    item->setText(0, label);
    item->setExpanded(true);
    return item;
}

void GC_MagicStylerWidget::addRow(QTreeWidgetItem *parent, const QString &label,
                                  bool GC_Style::*flag, QWidget *editor,
                                  std::function<void(GC_Style &)> writeValue)
{
    auto *apply = new QCheckBox;
    auto *item = new QTreeWidgetItem(parent);
    item->setText(0, label);
    // The tree takes ownership of both widgets.
    ui->treeWidget->setItemWidget(item, 1, apply);
    ui->treeWidget->setItemWidget(item, 2, editor);
    QStringList path;
    for (const QTreeWidgetItem *step = item; step; step = step->parent())
        path.prepend(step->text(0));
    m_rows.append({apply, flag, path.join(QStringLiteral(" / ")), std::move(writeValue)});
}

static QDoubleSpinBox *doubleSpinBox(double minimum, double maximum, double value)
{
    auto *spin = new QDoubleSpinBox;
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    return spin;
}

QDoubleSpinBox *GC_MagicStylerWidget::addPosition(QTreeWidgetItem *parent, const QString &label,
                                           bool GC_Style::*flag, double GC_Style::*value)
{
    QDoubleSpinBox *spin = doubleSpinBox(-99999.0, 99999.0, 0.0);
    addRow(parent, label, flag, spin, [spin, value](GC_Style &s) { s.*value = spin->value(); });
    return spin;
}

QDoubleSpinBox *GC_MagicStylerWidget::addSize(QTreeWidgetItem *parent, const QString &label,
                                       bool GC_Style::*flag, double GC_Style::*value)
{
    QDoubleSpinBox *spin = doubleSpinBox(0.0, 99999.0, 0.0);
    addRow(parent, label, flag, spin, [spin, value](GC_Style &s) { s.*value = spin->value(); });
    return spin;
}

QDoubleSpinBox *GC_MagicStylerWidget::addAngle(QTreeWidgetItem *parent, const QString &label,
                                        bool GC_Style::*flag, double GC_Style::*value)
{
    QDoubleSpinBox *spin = doubleSpinBox(0.0, 360.0, 0.0);
    addRow(parent, label, flag, spin, [spin, value](GC_Style &s) { s.*value = spin->value(); });
    return spin;
}

QSpinBox *GC_MagicStylerWidget::addCount(QTreeWidgetItem *parent, const QString &label,
                                        bool GC_Style::*flag, int GC_Style::*value)
{
    auto *spin = new QSpinBox;
    spin->setRange(1, std::numeric_limits<int>::max());
    spin->setValue(1);
    addRow(parent, label, flag, spin, [spin, value](GC_Style &s) { s.*value = spin->value(); });
    return spin;
}

QCheckBox *GC_MagicStylerWidget::addCheck(QTreeWidgetItem *parent, const QString &label,
                                        bool GC_Style::*flag, bool GC_Style::*value)
{
    auto *check = new QCheckBox;
    addRow(parent, label, flag, check,
           [check, value](GC_Style &s) { s.*value = check->isChecked(); });
    return check;
}

QComboBox *GC_MagicStylerWidget::addCombo(QTreeWidgetItem *parent, const QString &label,
                                        bool GC_Style::*flag, int GC_Style::*value,
                                        const QStringList &entries, const QVector<int> &codes)
{
    Q_ASSERT(entries.size() == codes.size());
    auto *combo = new QComboBox;
    combo->addItems(entries);
    combo->setCurrentIndex(0);
    addRow(parent, label, flag, combo, [combo, value, codes](GC_Style &s) {
        const int index = combo->currentIndex();
        s.*value = codes.value(index, codes.first());
    });
    return combo;
}

QComboBox *GC_MagicStylerWidget::addAnchor(QTreeWidgetItem *parent, bool GC_Style::*flag,
                                         int GC_Style::*value)
{
    return addCombo(parent, tr("Anchor"), flag, value, {"Left", "Center", "Right"}, {0, 1, 2});
}

QComboBox *GC_MagicStylerWidget::addArrowStyle(QTreeWidgetItem *parent, bool GC_Style::*flag,
                                             int GC_Style::*value)
{
    return addCombo(parent, tr("Style"), flag, value, {"Box", "Arrow"}, {0, 1});
}

GC_ColorPicker *GC_MagicStylerWidget::addColor(QTreeWidgetItem *parent, const QString &label,
                                        bool GC_Style::*flag, QColor GC_Style::*value)
{
    auto *picker = new GC_ColorPicker;
    addRow(parent, label, flag, picker,
           [picker, value](GC_Style &s) { s.*value = picker->color(); });
    return picker;
}

GC_FontPicker *GC_MagicStylerWidget::addFont(QTreeWidgetItem *parent, const QString &label,
                                       bool GC_Style::*flag, QFont GC_Style::*value)
{
    auto *picker = new GC_FontPicker;
    // Show the picker's own font, so its size box does not start at 0.
    picker->setFont(picker->font());
    addRow(parent, label, flag, picker,
           [picker, value](GC_Style &s) { s.*value = picker->font(); });
    return picker;
}

// ---------------------------------------------------------------- groups

void GC_MagicStylerWidget::buildGenomeRows()
{
    QTreeWidgetItem *genome = addGroup(nullptr, tr("Genome"));
    addPosition(genome, tr("X"), &GC_Style::applyGenomeX, &GC_Style::genomeX);
    addPosition(genome, tr("Y"), &GC_Style::applyGenomeY, &GC_Style::genomeY);
    addCombo(genome, tr("Orientation"), &GC_Style::applyGenomeOrientation,
             &GC_Style::genomeOrientation, {"Left", "Right"}, {-1, 1});

    auto *pixPerNuc = new QDoubleSpinBox;
    pixPerNuc->setDecimals(10);
    pixPerNuc->setRange(0.0, 99.99);
    pixPerNuc->setValue(0.0);
    addRow(genome, tr("Pixels per nucleotid"), &GC_Style::applyGenomePixPerNuc, pixPerNuc,
           [pixPerNuc](GC_Style &s) { s.genomePixPerNuc = pixPerNuc->value(); });

    addCheck(genome, tr("Show genes"), &GC_Style::applyGenomeShowGenes,
             &GC_Style::genomeShowGenes);
    addCheck(genome, tr("Show anotations"), &GC_Style::applyGenomeShowAnotations,
             &GC_Style::genomeShowAnotations);
    addCheck(genome, tr("Show matchings"), &GC_Style::applyGenomeShowMatchings,
             &GC_Style::genomeShowMatchings);
    addCheck(genome, tr("Show ruler"), &GC_Style::applyGenomeShowRuler,
             &GC_Style::genomeShowRuler);
    addCheck(genome, tr("Show text"), &GC_Style::applyGenomeShowText,
             &GC_Style::genomeShowText);

    QTreeWidgetItem *segment = addGroup(genome, tr("Segment"));
    addSize(segment, tr("Head height"), &GC_Style::applyGenomeHeightBig,
            &GC_Style::genomeHeightBig);
    addSize(segment, tr("Head length"), &GC_Style::applyGenomeHeadLength,
            &GC_Style::genomeHeadLength);
    addSize(segment, tr("Width"), &GC_Style::applyGenomeHeightSmall,
            &GC_Style::genomeHeightSmall);
    addColor(segment, tr("Line color"), &GC_Style::applyGenomeLineColor,
             &GC_Style::genomeLineColor);
    addColor(segment, tr("Fill color"), &GC_Style::applyGenomeFillColor,
             &GC_Style::genomeFillColor);
    addArrowStyle(segment, &GC_Style::applyGenomeArrowStyle, &GC_Style::genomeArrowStyle);

    QTreeWidgetItem *text = addGroup(genome, tr("Text"));
    addPosition(text, tr("X"), &GC_Style::applyGenomeTextX, &GC_Style::genomeTextX);
    addPosition(text, tr("Y"), &GC_Style::applyGenomeTextY, &GC_Style::genomeTextY);
    addAngle(text, tr("Angle"), &GC_Style::applyGenomeTextAngle, &GC_Style::genomeTextAngle);
    addAnchor(text, &GC_Style::applyGenomeTextPositionFlag, &GC_Style::genomeTextPositionFlag);
    GC_ColorPicker *textColor =
        addColor(text, tr("Color"), &GC_Style::applyGenomeTextColor, &GC_Style::genomeTextColor);
    addFont(text, tr("Font"), &GC_Style::applyGenomeTextFont, &GC_Style::genomeTextFont);

    // Rows are of uniform height: this one sets it for all, tall enough for a picker.
    genome->setSizeHint(2, textColor->sizeHint());
}

void GC_MagicStylerWidget::buildGeneRows()
{
    QTreeWidgetItem *gene = addGroup(nullptr, tr("Gene"));
    addPosition(gene, tr("Y"), &GC_Style::applyGeneY, &GC_Style::geneY);
    // A gene's orientation is 1 forward and -1 reverse.
    addCombo(gene, tr("Orientation"), &GC_Style::applyGeneOrientation,
             &GC_Style::geneOrientation, {"Straight", "Reversed"}, {1, -1});
    addCheck(gene, tr("Show text"), &GC_Style::applyGeneShowText, &GC_Style::geneShowText);

    QTreeWidgetItem *segment = addGroup(gene, tr("Segment"));
    addSize(segment, tr("Head height"), &GC_Style::applyGeneHeightBig, &GC_Style::geneHeightBig);
    addSize(segment, tr("Head length"), &GC_Style::applyGeneHeadLength,
            &GC_Style::geneHeadLength);
    addSize(segment, tr("Width"), &GC_Style::applyGeneHeightSmall, &GC_Style::geneHeightSmall);
    addColor(segment, tr("Line color"), &GC_Style::applyGeneLineColor, &GC_Style::geneLineColor);
    addColor(segment, tr("Fill color"), &GC_Style::applyGeneFillColor, &GC_Style::geneFillColor);
    addArrowStyle(segment, &GC_Style::applyGeneArrowStyle, &GC_Style::geneArrowStyle);

    QTreeWidgetItem *text = addGroup(gene, tr("Text"));
    addCheck(text, tr("Automatic"), &GC_Style::applyGeneTextAutomatic,
             &GC_Style::geneTextAutomatic);
    addPosition(text, tr("X"), &GC_Style::applyGeneTextX, &GC_Style::geneTextX);
    addPosition(text, tr("Y"), &GC_Style::applyGeneTextY, &GC_Style::geneTextY);
    addAngle(text, tr("Angle"), &GC_Style::applyGeneTextAngle, &GC_Style::geneTextAngle);
    addAnchor(text, &GC_Style::applyGeneTextPositionFlag, &GC_Style::geneTextPositionFlag);
    addColor(text, tr("Color"), &GC_Style::applyGeneTextColor, &GC_Style::geneTextColor);
    addFont(text, tr("Font"), &GC_Style::applyGeneTextFont, &GC_Style::geneTextFont);
}

void GC_MagicStylerWidget::buildAnotationRows()
{
    QTreeWidgetItem *anotation = addGroup(nullptr, tr("Anotation"));
    addPosition(anotation, tr("Y"), &GC_Style::applyAnotationY, &GC_Style::anotationY);
    addCheck(anotation, tr("Show text"), &GC_Style::applyAnotationShowText,
             &GC_Style::anotationShowText);

    QTreeWidgetItem *rect = addGroup(anotation, tr("Rect"));
    addSize(rect, tr("Width"), &GC_Style::applyAnotationHeight, &GC_Style::anotationHeight);
    addColor(rect, tr("Line color"), &GC_Style::applyAnotationLineColor,
             &GC_Style::anotationLineColor);
    addColor(rect, tr("Fill color"), &GC_Style::applyAnotationFillColor,
             &GC_Style::anotationFillColor);

    QTreeWidgetItem *text = addGroup(anotation, tr("Text"));
    addPosition(text, tr("Y"), &GC_Style::applyAnotationTextY, &GC_Style::anotationTextY);
    addAngle(text, tr("Angle"), &GC_Style::applyAnotationTextAngle,
             &GC_Style::anotationTextAngle);
    addAnchor(text, &GC_Style::applyAnotationTextPositionFlag,
              &GC_Style::anotationTextPositionFlag);
    addColor(text, tr("Color"), &GC_Style::applyAnotationTextColor,
             &GC_Style::anotationTextColor);
    addFont(text, tr("Font"), &GC_Style::applyAnotationTextFont, &GC_Style::anotationTextFont);
}

void GC_MagicStylerWidget::buildMatchingRows()
{
    QTreeWidgetItem *matching = addGroup(nullptr, tr("Matching"));
    // Each row fills the colour its label names: direct, then opposite-way matchings.
    addColor(matching, tr("Straigth color"), &GC_Style::applyMatchingStraightColor,
             &GC_Style::matchingStraightColor);
    addColor(matching, tr("Reverse color"), &GC_Style::applyMatchingReverseColor,
             &GC_Style::matchingReverseColor);
}

void GC_MagicStylerWidget::buildRulerRows()
{
    QTreeWidgetItem *ruler = addGroup(nullptr, tr("Ruler"));
    addPosition(ruler, tr("Y"), &GC_Style::applyRulerY, &GC_Style::rulerY);
    addCombo(ruler, tr("Style"), &GC_Style::applyRulerStyle, &GC_Style::rulerStyle,
             {"Bracket", "Ruler"}, {0, 1});

    QTreeWidgetItem *lines = addGroup(ruler, tr("Lines"));
    addCheck(lines, tr("Horizontal Line Visible"), &GC_Style::applyRulerHorizontalLineVisible,
             &GC_Style::rulerHorizontalLineVisible);
    addSize(lines, tr("Big height"), &GC_Style::applyRulerHeightBig, &GC_Style::rulerHeightBig);
    addSize(lines, tr("Small height"), &GC_Style::applyRulerHeightSmall,
            &GC_Style::rulerHeightSmall);
    addCount(lines, tr("Nucleotids per period"), &GC_Style::applyRulerNucsPerPeriod,
             &GC_Style::rulerNucsPerPeriod);
    addCount(lines, tr("Periods per big line"), &GC_Style::applyRulerPeriodsPerBigLine,
             &GC_Style::rulerPeriodsPerBigLine);
    addCount(lines, tr("Pixels per period"), &GC_Style::applyRulerPixsPerPeriod,
             &GC_Style::rulerPixsPerPeriod);
    addCombo(lines, tr("Orientation"), &GC_Style::applyRulerOrientation,
             &GC_Style::rulerOrientation, {"Up", "Center", "Down"}, {0, 1, 2});
    addColor(lines, tr("Color"), &GC_Style::applyRulerLineColor, &GC_Style::rulerLineColor);

    QTreeWidgetItem *text = addGroup(ruler, tr("Text"));
    // The ruler codes its label placement 0 up, 1 down, 2 centre, 3 hidden.
    addCombo(text, tr("Placement"), &GC_Style::applyRulerTextPlacement,
             &GC_Style::rulerTextPlacement, {"Up", "Center", "Down", "Hidden"}, {0, 2, 1, 3});
    addColor(text, tr("Color"), &GC_Style::applyRulerTextColor, &GC_Style::rulerTextColor);
    addFont(text, tr("Font"), &GC_Style::applyRulerTextFont, &GC_Style::rulerTextFont);
}

void GC_MagicStylerWidget::buildFreeTextRows()
{
    QTreeWidgetItem *freeText = addGroup(nullptr, tr("Free text"));
    addPosition(freeText, tr("X"), &GC_Style::applyFreeTextX, &GC_Style::freeTextX);
    addPosition(freeText, tr("Y"), &GC_Style::applyFreeTextY, &GC_Style::freeTextY);
    addAngle(freeText, tr("Angle"), &GC_Style::applyFreeTextAngle, &GC_Style::freeTextAngle);
    addAnchor(freeText, &GC_Style::applyFreeTextPositionFlag, &GC_Style::freeTextPositionFlag);
    addColor(freeText, tr("Color"), &GC_Style::applyFreeTextColor, &GC_Style::freeTextColor);
    addFont(freeText, tr("Font"), &GC_Style::applyFreeTextFont, &GC_Style::freeTextFont);
}

void GC_MagicStylerWidget::buildSceneRows()
{
    // The spacing starts at the scene's own defaults, so a forced apply that
    // leaves these rows alone keeps the usual layout.
    QTreeWidgetItem *scene = addGroup(nullptr, tr("Scene"));
    addSize(scene, tr("Margin"), &GC_Style::applySceneMargin, &GC_Style::sceneMargin)
        ->setValue(30.0);
    addSize(scene, tr("Separation between genomes"), &GC_Style::applySceneSeparationBetweenGenomes,
            &GC_Style::sceneSeparationBetweenGenomes)
        ->setValue(7.0);
}
