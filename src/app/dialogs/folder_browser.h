#pragma once
// Choosing a folder for still images or local recordings: a tree of the file system's folders
// with an edit above it. OK takes the edit's text only when it is a valid folder that exists or
// that the user agrees to create (and it could be created); otherwise a message says why and the
// browser stays open.
#include <QDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include <optional>
#include <string>

namespace dvr::app {

class FolderBrowser final : public QDialog {
  Q_OBJECT

 public:
  // Opens on `initial_folder` (the current folder when it is empty); a folder that does not exist
  // yet is only put into the edit.
  explicit FolderBrowser(const std::string& initial_folder, QWidget* parent = nullptr);

  // The folder OK accepted.
  const std::string& Folder() const { return folder_; }

  void accept() override;

 private:
  void ShowSelected(const QModelIndex& current);
  // Checks the folder and creates it on request; false, after a message, when it cannot be used.
  bool ConfirmFolder(const std::string& folder);

  QFileSystemModel* model_;
  QLineEdit* edit_;
  QTreeView* tree_;
  QPushButton* ok_;
  std::string folder_;
};

// Runs the browser modally over `owner`: the accepted folder, or nothing when cancelled.
std::optional<std::string> BrowseForFolder(QWidget* owner, const std::string& initial_folder);

// A "参照..." button (id 1666) that runs the browser on the folder in `folder_edit` and puts the
// chosen folder there. The caller places it.
QPushButton* FolderBrowseButton(QLineEdit* folder_edit);

}  // namespace dvr::app
