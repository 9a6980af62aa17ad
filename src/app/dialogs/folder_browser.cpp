#include "app/dialogs/folder_browser.h"

#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

#include <filesystem>

#include "app/dialogs/dialog_parts.h"
#include "app/folder_rules.h"

namespace dvr::app {
namespace {

constexpr int kEditId = 14148;
constexpr int kTreeId = 14145;

}  // namespace

FolderBrowser::FolderBrowser(const std::string& initial_folder, QWidget* parent)
    : QDialog(parent),
      model_(new QFileSystemModel(this)),
      edit_(WithId(new QLineEdit(this), kEditId)),
      tree_(WithId(new QTreeView(this), kTreeId)) {
  setWindowTitle(tr("フォルダの参照"));
  setFont(DialogFont());

  model_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
  model_->setRootPath(QDir::rootPath());
  tree_->setModel(model_);
  tree_->setHeaderHidden(true);
  for (int column = 1; column < model_->columnCount(); ++column) tree_->hideColumn(column);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);

  QDialogButtonBox* buttons = OkCancelButtons(this);
  ok_ = OkButton(buttons);
  ok_->setEnabled(false);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("フォルダの選択"), this));
  layout->addWidget(edit_);
  layout->addWidget(tree_, 1);
  layout->addWidget(buttons);
  resize(360, 420);

  connect(edit_, &QLineEdit::textChanged, this,
          [this](const QString& text) { ok_->setEnabled(!text.isEmpty()); });
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &FolderBrowser::ShowSelected);

  const QString initial =
      initial_folder.empty() ? QDir::currentPath() : QString::fromStdString(initial_folder);
  edit_->setText(initial);
  const QModelIndex index = model_->index(initial);
  if (index.isValid()) {
    tree_->setCurrentIndex(index);
    tree_->scrollTo(index);
  }
  edit_->setFocus(Qt::OtherFocusReason);
}

void FolderBrowser::ShowSelected(const QModelIndex& current) {
  edit_->setText(current.isValid() ? model_->filePath(current) : QString());
}

void FolderBrowser::accept() {
  const std::string folder = edit_->text().toStdString();
  if (!ConfirmFolder(folder)) {
    edit_->setFocus(Qt::OtherFocusReason);
    return;
  }
  folder_ = folder;
  QDialog::accept();
}

bool FolderBrowser::ConfirmFolder(const std::string& folder) {
  if (!IsValidFolderSyntax(folder)) {
    QMessageBox::warning(this, windowTitle(), QString::fromStdString(FolderInvalidText(folder)));
    return false;
  }
  std::error_code error;
  if (std::filesystem::is_directory(folder, error)) return true;
  if (QMessageBox::question(
          this, windowTitle(), QString::fromStdString(FolderMissingQuestion(folder)),
          QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) != QMessageBox::Yes) {
    return false;
  }
  if (CreateFolderLevels(folder) == FolderCreation::kCannotCreate) {
    QMessageBox::warning(this, windowTitle(),
                         QString::fromStdString(FolderCannotCreateText(folder)));
    return false;
  }
  return true;
}

std::optional<std::string> BrowseForFolder(QWidget* owner, const std::string& initial_folder) {
  FolderBrowser browser(initial_folder, owner);
  if (browser.exec() != QDialog::Accepted) return std::nullopt;
  return browser.Folder();
}

QPushButton* FolderBrowseButton(QLineEdit* folder_edit) {
  auto* button = WithId(new QPushButton(FolderBrowser::tr("参照...")), 1666);
  QObject::connect(button, &QPushButton::clicked, folder_edit, [folder_edit] {
    if (const auto folder =
            BrowseForFolder(folder_edit->window(), folder_edit->text().toStdString())) {
      folder_edit->setText(QString::fromStdString(*folder));
    }
  });
  return button;
}

}  // namespace dvr::app
