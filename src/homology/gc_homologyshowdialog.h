#ifndef GC_HOMOLOGYSHOWDIALOG_H
#define GC_HOMOLOGYSHOWDIALOG_H

#include "gc_genomesource.h"

#include <QDialog>
#include <QString>

class GC_Genome;
class GC_GenomeScene;
class GC_HomologyBar;
class QLabel;
class QProgressBar;
class QPushButton;
class QTextBrowser;

// What the COG, RFAM and rRNA show dialogs share: a genome's hits of one
// family, stored in its source file by an earlier search, are loaded into its
// bar when the user answers "Yes" (accepted); "No" rejects. A source file
// that is missing, cannot be opened or cannot be read leaves the dialog open
// with the reason shown, and only "No" goes on. The rows the bar does not
// show stay with it, so that the next save keeps them.
// Each family's dialog builds its own form, hands its widgets over with
// attachWidgets() and says what it reads and which bar it fills.
class GC_HomologyShowDialog : public QDialog
{
    Q_OBJECT

public:
    // The family's texts; "%1" stands for the count.
    struct Texts
    {
        const char *found;      // "<p>%1 COG homologies have been found</p><br>"
        const char *question;   // "<p><b>Do you want to load these ...?</b></p>"
        const char *loading;    // "Loading COG homologies from database"
        GC_GenomeSource::Family family;  // whose rows it loads
    };

    ~GC_HomologyShowDialog() override;

    // Keeps the genome, reads its stored count and asks the question.
    void setGenome(GC_Genome *genome);
    GC_Genome *genome() const { return m_genome; }
    GC_GenomeScene *scene() const { return m_scene; }
    // The stored count read by setGenome().
    int count() const { return m_count; }

protected:
    GC_HomologyShowDialog(const Texts &texts, QWidget *parent);

    // Called once by the subclass right after its form is set up.
    void attachWidgets(QTextBrowser *textBrowser, QProgressBar *progressBar,
                       QLabel *labelAdvance, QPushButton *searchButton);
    // The scene is kept for the opener only.
    void keepScene(GC_GenomeScene *scene) { m_scene = scene; }

    virtual int storedCount(const GC_Genome &genome) const = 0;
    // Hands one stored row to the genome's bar; false when the bar refuses it.
    virtual bool addStoredHit(GC_Genome &genome, int start, int end, int referenceId,
                              double evalue, double bitscore) = 0;

private slots:
    void on_searchButton_clicked();
    void on_cancelButton_clicked();

private:
    void loadStoredHits();
    void stopWith(const QString &shown, const QString &logged);
    // The genome's bar of the dialog's family.
    GC_HomologyBar *familyBar() const;
    // Says how many of the rows read the bar refused, and why.
    void tellLeftOut(int refused, int read);

    Texts m_texts;
    QTextBrowser *m_textBrowser = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QLabel *m_labelAdvance = nullptr;
    QPushButton *m_searchButton = nullptr;

    GC_Genome *m_genome = nullptr;
    GC_GenomeScene *m_scene = nullptr;
    int m_count = 0;
};

#endif
