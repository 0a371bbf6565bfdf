#pragma once
// The dialog "観測地": choose the site in use, add, edit and remove sites of the
// shared site store. The zone is picked from the system's IANA list by typing any
// part of its name, or typed as a fixed offset ("UTC+09:00"). The built-in site
// can be chosen but neither changed nor removed (its fields are read-only); "新規"
// empties the fields for a new site, their hints showing. A refused change is
// explained in red beside the field it is about, that field marked, and changes
// nothing.
#include <QDialog>
#include <utility>
#include <vector>

#include "sky/site_store.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tenmirel::ui {

class SitesDialog : public QDialog {
 public:
  SitesDialog(sky::SiteStore& store, QWidget* parent = nullptr);

  // The site the list shows selected, empty when none.
  QString selectedName() const;
  void selectSite(const QString& name);

  // Empties the fields for a new site.
  void newSite();
  // The buttons' operations; each returns whether the store took the change.
  bool addSite();
  bool replaceSite();
  bool removeSite();
  bool useSite();

  // The last refusal or confirmation shown in the dialog.
  QString messageText() const;
  // The refusal shown beside a field ("siteName", "siteLongitude", ...); empty when none.
  QString fieldErrorText(const QString& fieldName) const;

 private:
  void fillList(const QString& select);
  void showSelected();
  // The site the form describes, or a message why it is not one and the field it
  // is about (null when none is).
  sky::Checked<sky::Site> siteFromForm(QWidget** badField) const;
  bool report(const sky::Refusal& refusal, const QString& done, QWidget* field = nullptr);
  // The field a refusal of the store or of the site's values is about.
  QWidget* fieldOf(const std::string& refusal) const;
  void showFieldError(QWidget* field, const QString& message);
  void clearFieldErrors();
  void setFieldsReadOnly(bool readOnly);

  sky::SiteStore& store_;
  QListWidget* list_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* longitude_ = nullptr;
  QLineEdit* latitude_ = nullptr;
  QLineEdit* height_ = nullptr;
  QComboBox* zone_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* replace_ = nullptr;
  QPushButton* remove_ = nullptr;
  QPushButton* use_ = nullptr;
  QLabel* message_ = nullptr;
  QLabel* builtInHint_ = nullptr;
  std::vector<std::pair<QWidget*, QLabel*>> fieldErrors_;
};

// Opens the dialog over the parent and waits until it is closed. True when the
// store changed (a site added, changed, removed or chosen).
bool runSitesDialog(sky::SiteStore& store, QWidget* parent);

}  // namespace tenmirel::ui
