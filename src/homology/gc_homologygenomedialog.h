#ifndef GC_HOMOLOGYGENOMEDIALOG_H
#define GC_HOMOLOGYGENOMEDIALOG_H

#include <QDialog>
#include <QList>
#include <QString>

class GC_Genome;
class GC_GenomeScene;
class QAbstractButton;
class QComboBox;
class QLabel;

// What the COG, RFAM and rRNA per-genome dialogs share: the user picks a
// genome of the canvas, sees how many hits of the family it has, and chooses
// to display them or to search. The dialog only collects the choice; its
// opener reads selectedGenome() and action() once it was accepted.
// Each family's dialog builds its own form, hands its widgets over with
// attachWidgets() and says which counts it reads.
class GC_HomologyGenomeDialog : public QDialog
{
    Q_OBJECT

public:
    ~GC_HomologyGenomeDialog() override;

    // Lists the scene's genomes (top row first) and shows the first one.
    // Without a scene or genomes the lists stay empty and OK stays disabled.
    void setGenomeScene(GC_GenomeScene *scene);

    GC_Genome *selectedGenome() const { return m_selectedGenome; }
    // "DISPLAY", "SEARCH", or empty until a genome has been shown.
    QString action() const { return m_action; }

protected:
    explicit GC_HomologyGenomeDialog(QWidget *parent);

    // Called once by the subclass right after its form is set up.
    void attachWidgets(QComboBox *genomesCombo, QLabel *statusLabel, QComboBox *actionsCombo,
                       QAbstractButton *okButton);

    // Hits of the family held by the genome's bar, and stored in its file
    // (-1 when they could not be counted).
    virtual int heldCount(const GC_Genome &genome) const = 0;
    virtual int storedCount(const GC_Genome &genome) const = 0;
    // The status text, "%1" standing for the count.
    virtual QString countText() const = 0;

private slots:
    void on_genomesCombo_activated(int index);
    void on_actionsCombo_textActivated(const QString &text);

private:
    void showGenome(int index);

    QComboBox *m_genomesCombo = nullptr;
    QLabel *m_statusLabel = nullptr;
    QComboBox *m_actionsCombo = nullptr;
    QAbstractButton *m_okButton = nullptr;

    QList<GC_Genome *> m_genomes;
    GC_GenomeScene *m_scene = nullptr;
    GC_Genome *m_selectedGenome = nullptr;
    QString m_action;
};

#endif
