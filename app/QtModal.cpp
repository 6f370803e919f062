// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtModal.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The filter entries: each description with its patterns, as both file dialogs show them.
QStringList FiltersOf(const TFileDialogOptions& options) {
    if (options.Filters.empty()) return {Q(options.FilterText) + " (*.bmp)"};
    QStringList filters;
    for (const TFileFilter& filter : options.Filters) {
        QStringList patterns;
        for (const std::string& extension : filter.Extensions)
            patterns << "*." + Q(extension);
        filters << Q(filter.Text) + " (" + patterns.join(' ') + ")";
    }
    return filters;
}

std::optional<std::string> Run(QFileDialog& dialog, const TFileDialogOptions& options) {
    dialog.setWindowTitle(Q(options.Title));
    const QStringList filters = FiltersOf(options);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(Q(options.DefaultExtension));
    // A name typed without an extension takes the one of the format chosen in the list.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, &options, filters](const QString& chosen) {
                         const auto at = filters.indexOf(chosen);
                         if (at >= 0 && std::size_t(at) < options.Filters.size() &&
                             !options.Filters[std::size_t(at)].Extensions.empty())
                             dialog.setDefaultSuffix(Q(options.Filters[std::size_t(at)].Extensions.front()));
                     });
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!options.InitialFolder.empty()) dialog.setDirectory(Q(options.InitialFolder));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}

// A question or dialog may come in the middle of a long command; it shows the normal cursor, and
// the wait cursor comes back when it closes.
class TNormalCursor {
  public:
    TNormalCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~TNormalCursor() { QApplication::restoreOverrideCursor(); }
    TNormalCursor(const TNormalCursor&) = delete;
    TNormalCursor& operator=(const TNormalCursor&) = delete;
};

} // namespace

bool TQtModal::AskYesNo(const std::string& title, const std::string& text) {
    const TNormalCursor normal;
    return QMessageBox::question(Parent_, Q(title), Q(text), QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

TAnswer TQtModal::AskYesNoCancel(const std::string& title, const std::string& text) {
    const TNormalCursor normal;
    // With a Cancel button the box takes it for Escape and for the close button.
    switch (QMessageBox::question(Parent_, Q(title), Q(text),
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return TAnswer::Yes;
    case QMessageBox::No:
        return TAnswer::No;
    default:
        return TAnswer::Cancel;
    }
}

void TQtModal::ShowMessage(const std::string& title, const std::string& text) {
    const TNormalCursor normal;
    QMessageBox::warning(Parent_, Q(title), Q(text), QMessageBox::Ok);
}

void TQtModal::ShowNotice(const std::string& title, const std::string& text) {
    const TNormalCursor normal;
    QMessageBox box(QMessageBox::NoIcon, Q(title), Q(text), QMessageBox::Ok, Parent_);
    box.exec();
}

void TQtModal::ShowError(const std::string& text) {
    const TNormalCursor normal;
    QMessageBox::critical(Parent_, QApplication::applicationName(), Q(text), QMessageBox::Ok);
}

std::optional<std::string> TQtModal::ChooseOpenFile(const TFileDialogOptions& options) {
    const TNormalCursor normal;
    QFileDialog dialog(Parent_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile); // the folder and the file must exist
    return Run(dialog, options);
}

std::optional<std::string> TQtModal::ChooseSaveFile(const TFileDialogOptions& options) {
    const TNormalCursor normal;
    QFileDialog dialog(Parent_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false); // ask before replacing a file
    return Run(dialog, options);
}

std::optional<TColor> TQtModal::ChooseColor(const std::string& title, TColor initial) {
    const TNormalCursor normal;
    const QColor chosen = QColorDialog::getColor(
        QColor(int(initial & 0xFF), int((initial >> 8) & 0xFF), int((initial >> 16) & 0xFF)), Parent_,
        Q(title));
    if (!chosen.isValid()) return std::nullopt;
    return RGB(std::uint8_t(chosen.red()), std::uint8_t(chosen.green()), std::uint8_t(chosen.blue()));
}

bool TQtModal::OpenWithDesktop(const std::string& address) {
    return QDesktopServices::openUrl(QUrl(Q(address)));
}
