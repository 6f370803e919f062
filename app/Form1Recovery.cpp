// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery journal of the window's picture: kept while the picture has unsaved changes, offered
// back at the next start when the session that kept it did not end normally.

#include "Form1.h"

#include "JournalReplay.h"
#include "WaitCursor.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QTimer>

#include <filesystem>

namespace {

// Changes reach the writer thread every tick and the file within its next round: a kill loses at
// most the changes of the last fifth of a second, a power cut at most two seconds'.
constexpr int kHandoverMilliseconds = 100;
constexpr int kTicksPerFlush = 20;
constexpr int kPumpMilliseconds = 5;

void RemoveJournal(TOrphanJournal& orphan) {
    std::error_code ignored;
    std::filesystem::remove(orphan.Names.Journal(), ignored);
    std::filesystem::remove(orphan.Names.Temporary(), ignored);
    orphan.Lock.ReleaseAndRemove();
}

// A journal this program cannot read may still hold the only copy of someone's work (written by
// a newer copy of the program, or damaged on disk): it is set aside, not removed, and no longer
// offered. The name it is kept under, or the journal's own when it cannot be moved.
std::string SetAside(TOrphanJournal& orphan) {
    std::error_code error;
    std::filesystem::rename(orphan.Names.Journal(), orphan.Names.Damaged(), error);
    if (error) return orphan.Names.Journal();
    orphan.Lock.ReleaseAndRemove();
    return orphan.Names.Damaged();
}

// The floating image lies over the picture in the journal as saving would stamp it, so a lifted
// area comes back with what was lifted, not as a hole.
class TFloatingOverlay : public TJournalOverlay {
  public:
    explicit TFloatingOverlay(const TPictureDocument& document) : Document_(document) {}
    TRect Area() const override { return Document_.FloatingStampArea(); }
    void StampOnto(TBitmap& part, int left, int top) const override {
        Document_.StampFloatingOnto(part, left, top);
    }

  private:
    const TPictureDocument& Document_;
};

QString Filled(QString text, const QString& one, const QString& two = QString()) {
    return text.replace(QLatin1String("%1"), one).replace(QLatin1String("%2"), two);
}

} // namespace

void TForm1::StartJournal() {
    const QString folder = Paths_.StateFolder();
    const std::string id = NewJournalId();
    TJournalLock lock;
    if (!folder.isEmpty() && QDir().mkpath(folder)) lock = TJournalLock::Take(folder.toStdString(), id);
    if (!lock.Held()) {
        Document_->Modal().ShowMessage(
            Document_->Texts().WarningTitle,
            Filled(Texts.Text("Recover6",
                              "Unsaved work cannot be kept for recovery after a crash: the folder "
                              "%1 cannot be written."),
                   QDir::toNativeSeparators(folder))
                .toStdString());
        return;
    }
    Journal_ = std::make_unique<TPictureJournal>(TJournalNames{folder.toStdString(), id}, std::move(lock));
    Journal_->MarkClean(Document_->Picture(), Document_->CurrentFile());
    JournalOverlay_ = std::make_unique<TFloatingOverlay>(*Document_);
    Journal_->Overlaid(Document_->Picture(), Document_->CurrentFile(), JournalOverlay_.get());
    JournalFlush_ = new QTimer(this);
    JournalFlush_->setObjectName("JournalTimer");
    JournalFlush_->setInterval(kHandoverMilliseconds);
    connect(JournalFlush_, &QTimer::timeout, this, [this] {
        if (++JournalTicks_ % kTicksPerFlush == 0)
            CheckJournal();
        else if (Journal_)
            Journal_->Handover(Document_->Picture());
    });
    JournalFlush_->start();
    JournalPump_ = new QTimer(this);
    JournalPump_->setInterval(kPumpMilliseconds);
    connect(JournalPump_, &QTimer::timeout, this, [this] { PumpJournal(); });
}

// A window closed in order ends its session normally: nothing is left to offer.
void TForm1::EndJournal() {
    if (!Journal_) return;
    Journal_->Discard();
    Journal_.reset(); // waits for the writer, so the journal is gone before the program ends
}

void TForm1::JournalChanged(const TRect& area) {
    if (!Journal_) return;
    JournalReplacing_ = false;
    Journal_->Changed(Document_->Picture(), Document_->CurrentFile(), area);
    if (Journal_->BaseUnderWay()) JournalPump_->start();
}

void TForm1::JournalFloating() {
    if (!Journal_ || JournalReplacing_) return;
    Journal_->Overlaid(Document_->Picture(), Document_->CurrentFile(), JournalOverlay_.get());
    if (Journal_->BaseUnderWay()) JournalPump_->start();
}

void TForm1::JournalResized() {
    // New and Open report their new picture before its name; the name's report makes it clean.
    if (!Journal_ || JournalReplacing_) return;
    Journal_->Reshaped(Document_->Picture(), Document_->CurrentFile());
    JournalPump_->start();
}

void TForm1::JournalReplaced() {
    if (!Journal_) return;
    Journal_->Discard();
    JournalReplacing_ = true;
}

void TForm1::JournalClean() {
    JournalReplacing_ = false;
    if (!Journal_ || Document_->Modified()) return;
    Journal_->MarkClean(Document_->Picture(), Document_->CurrentFile());
}

void TForm1::PumpJournal() {
    if (!Journal_ || !Journal_->Pump(Document_->Picture())) JournalPump_->stop();
}

// The folder filling up or going away ends the journal with one message; commands go on.
void TForm1::CheckJournal() {
    if (!Journal_) return;
    Journal_->Flush(Document_->Picture());
    const std::optional<std::string> error = Journal_->TakeError();
    if (!error) return;
    Journal_->Discard();
    Journal_.reset();
    JournalFlush_->stop();
    JournalPump_->stop();
    Document_->Modal().ShowMessage(
        Document_->Texts().WarningTitle,
        Filled(Texts.Text("Recover7", "Unsaved work is no longer kept for recovery after a crash: %1"),
               QString::fromStdString(*error))
            .toStdString());
}

bool TForm1::OfferRecovery() {
    if (!Journal_) return false;
    const std::string folder = Journal_->Names().Folder;
    if (!RecoverJournal_.empty()) {
        // Another window offered this one and was answered Yes: it is this window's to reopen.
        const std::filesystem::path path(RecoverJournal_);
        const std::string id = path.stem().string();
        TOrphanJournal orphan{{path.parent_path().string(), id},
                              TJournalLock::Take(path.parent_path().string(), id)};
        return orphan.Lock.Held() && RecoverInto(orphan);
    }
    bool recovered = false;
    for (TOrphanJournal& orphan : TakeOrphanJournals(folder)) {
        const std::optional<TJournalSummary> summary = SummarizeJournal(orphan.Names.Journal());
        if (!summary) {
            const std::string kept = SetAside(orphan);
            Document_->Modal().ShowMessage(
                Texts.TextUtf8("Recover0", "Unsaved picture"),
                Filled(Texts.Text("Recover9", "A file left to recover unsaved work after a crash cannot be "
                                              "read. It is kept as %1."),
                       QDir::toNativeSeparators(QString::fromStdString(kept)))
                    .toStdString());
            continue;
        }
        const QString name =
            summary->Info.PictureFile.empty()
                ? Texts.Text("Recover2", "untitled")
                : QDir::toNativeSeparators(QString::fromStdString(summary->Info.PictureFile));
        const QString when =
            QLocale(Texts.Locale().isEmpty() ? QLocale::system().name() : Texts.Locale())
                .toString(QDateTime::fromSecsSinceEpoch(summary->LastChange), QLocale::ShortFormat);
        const std::string title = Texts.TextUtf8("Recover0", "Unsaved picture");
        if (!summary->Recoverable) {
            Document_->Modal().ShowMessage(
                title, Filled(Texts.Text("Recover4",
                                         "The unsaved changes to %1, last changed %2, cannot be recovered: "
                                         "the file has changed since, and only the changes were kept."),
                              name, when)
                           .toStdString());
            RemoveJournal(orphan);
            continue;
        }
        QString question = Filled(Texts.Text("Recover1", "Tessimap did not end normally. Recover the unsaved "
                                                         "picture %1, last changed %2?"),
                                  name, when);
        if (summary->SourceChanged)
            question +=
                "\n\n" + Texts.Text("Recover3", "The file has changed on disk since: saving the recovered "
                                                "picture will replace it.");
        if (!Document_->Modal().AskYesNo(title, question.toStdString())) {
            RemoveJournal(orphan);
            continue;
        }
        if (!recovered) {
            recovered = RecoverInto(orphan);
            continue;
        }
        // One window shows one picture: another copy of the editor opens each further one, and
        // takes over its journal. Should it fail to start, the journal waits for the next start.
        const QString journal = QString::fromStdString(orphan.Names.Journal());
        orphan.Lock = TJournalLock();
        if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), {"--recover", journal}))
            Document_->Modal().ShowMessage(
                title,
                Filled(Texts.Text("Recover5", "The picture %1 could not be opened in another window; it "
                                              "will be offered again at the next start."),
                       name)
                    .toStdString());
    }
    return recovered;
}

bool TForm1::RecoverInto(TOrphanJournal& orphan) {
    std::optional<TReplayResult> replay;
    {
        const TWaitCursor wait(static_cast<TDocumentHost&>(*this));
        replay = ReplayJournal(orphan.Names.Journal());
    }
    if (!replay) {
        Document_->Modal().ShowMessage(
            Document_->Texts().WarningTitle,
            Texts.TextUtf8("Recover8", "The unsaved picture could not be read back from its journal."));
        RemoveJournal(orphan);
        return false;
    }
    Document_->RestoreUnsavedPicture(std::move(replay->Picture), replay->Info.PictureFile);
    // The journal read is this session's until its own copy of the picture is complete.
    Journal_->Adopt(orphan.Names.Journal(), Document_->Picture(), Document_->CurrentFile(),
                    replay->Info.Source);
    orphan.Lock.ReleaseAndRemove();
    JournalPump_->start();
    return true;
}
