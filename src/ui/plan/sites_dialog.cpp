#include "ui/plan/sites_dialog.h"

#include <QComboBox>
#include <QCompleter>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>

#include "sky/coordinate_text.h"
#include "sky/site_zone.h"

namespace tenmirel::ui {
namespace {

constexpr int kNameRole = Qt::UserRole;
// Refusals are red, the field they are about framed in red.
constexpr const char* kErrorStyle = "color: #c62828;";
constexpr const char* kMarkedFieldStyle = "border: 2px solid #c62828; border-radius: 3px; background: #fff4f4;";

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }
QString text(const char* utf8) { return QString::fromUtf8(utf8); }

QLineEdit* makeEdit(const char* name, const char* placeholder) {
  auto* edit = new QLineEdit;
  edit->setObjectName(text(name));
  edit->setPlaceholderText(text(placeholder));
  return edit;
}

QPushButton* makeButton(const char* name, const char* caption) {
  auto* button = new QPushButton(text(caption));
  button->setObjectName(text(name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

SitesDialog::SitesDialog(sky::SiteStore& store, QWidget* parent) : QDialog(parent), store_(store) {
  setObjectName(QStringLiteral("SitesDialog"));
  setWindowTitle(text("観測地"));

  list_ = new QListWidget;
  list_->setObjectName(QStringLiteral("siteList"));
  list_->setMinimumWidth(200);

  name_ = makeEdit("siteName", "例: 自宅");
  longitude_ = makeEdit("siteLongitude", "例: 139 00 または 139.0（東が正）");
  latitude_ = makeEdit("siteLatitude", "例: 35 00 または 35.0（北が正）");
  height_ = makeEdit("siteHeight", "0");
  zone_ = new QComboBox;
  zone_->setObjectName(QStringLiteral("siteZone"));
  zone_->setEditable(true);
  zone_->setInsertPolicy(QComboBox::NoInsert);
  QStringList zones;
  for (const std::string& zone : sky::knownZoneNames()) zones << text(zone);
  zone_->addItems(zones);
  // Typing any part of a name ("Prague", "Tokyo") offers the zones that contain it.
  auto* completer = new QCompleter(zones, zone_);
  completer->setCaseSensitivity(Qt::CaseInsensitive);
  completer->setFilterMode(Qt::MatchContains);
  completer->setCompletionMode(QCompleter::PopupCompletion);
  zone_->setCompleter(completer);
  zone_->lineEdit()->setPlaceholderText(text("Asia/Tokyo や UTC+09:00"));

  auto* form = new QFormLayout;
  // Each field with the line its refusals are written on, beneath it.
  auto addField = [&](const char* caption, QWidget* field) {
    auto* error = new QLabel;
    error->setObjectName(field->objectName() + QStringLiteral("Error"));
    error->setStyleSheet(QString::fromUtf8(kErrorStyle));
    error->setWordWrap(true);
    error->setTextFormat(Qt::PlainText);
    error->setVisible(false);
    auto* cell = new QVBoxLayout;
    cell->setSpacing(1);
    cell->addWidget(field);
    cell->addWidget(error);
    form->addRow(text(caption), cell);
    fieldErrors_.emplace_back(field, error);
  };
  addField("名前", name_);
  addField("経度（°）", longitude_);
  addField("緯度（°）", latitude_);
  addField("標高（m）", height_);
  addField("時間帯", zone_);
  builtInHint_ = new QLabel(text("既定の観測地は変えられません。「新規」で新しい観測地を作れます。"));
  builtInHint_->setObjectName(QStringLiteral("builtInHint"));
  builtInHint_->setWordWrap(true);

  auto* fresh = makeButton("newSite", "新規");
  add_ = makeButton("addSite", "追加");
  replace_ = makeButton("replaceSite", "変更");
  remove_ = makeButton("removeSite", "削除");
  use_ = makeButton("useSite", "この観測地を使う");
  auto* close = makeButton("closeSites", "閉じる");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(fresh);
  buttons->addWidget(add_);
  buttons->addWidget(replace_);
  buttons->addWidget(remove_);
  buttons->addStretch();
  buttons->addWidget(use_);
  buttons->addWidget(close);

  message_ = new QLabel;
  message_->setObjectName(QStringLiteral("siteMessage"));
  message_->setWordWrap(true);
  message_->setTextFormat(Qt::PlainText);

  auto* right = new QVBoxLayout;
  right->addLayout(form);
  right->addWidget(builtInHint_);
  right->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(list_);
  top->addLayout(right, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(message_);
  layout->addLayout(buttons);

  connect(list_, &QListWidget::currentRowChanged, this, [this] { showSelected(); });
  connect(fresh, &QPushButton::clicked, this, [this] { newSite(); });
  connect(add_, &QPushButton::clicked, this, [this] { addSite(); });
  connect(replace_, &QPushButton::clicked, this, [this] { replaceSite(); });
  connect(remove_, &QPushButton::clicked, this, [this] { removeSite(); });
  connect(use_, &QPushButton::clicked, this, [this] { useSite(); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  fillList(text(store_.defaultSite().name));
  if (!store_.problem().empty()) report(store_.problem(), {});
  resize(680, 360);
}

QString SitesDialog::selectedName() const {
  const QListWidgetItem* item = list_->currentItem();
  return item ? item->data(kNameRole).toString() : QString();
}

void SitesDialog::selectSite(const QString& name) {
  for (int row = 0; row < list_->count(); ++row) {
    if (list_->item(row)->data(kNameRole).toString() == name) list_->setCurrentRow(row);
  }
}

QString SitesDialog::messageText() const { return message_->text(); }

QString SitesDialog::fieldErrorText(const QString& fieldName) const {
  for (const auto& [field, error] : fieldErrors_) {
    if (field->objectName() == fieldName) return error->text();
  }
  return {};
}

void SitesDialog::setFieldsReadOnly(bool readOnly) {
  // Read-only fields take the window's colour, so they do not look like boxes to type into.
  QPalette shade = palette();
  if (readOnly) shade.setColor(QPalette::Base, shade.color(QPalette::Window));
  for (QLineEdit* edit : {name_, longitude_, latitude_, height_}) {
    edit->setReadOnly(readOnly);
    edit->setPalette(shade);
  }
  zone_->setEnabled(!readOnly);
  add_->setEnabled(!readOnly);
  builtInHint_->setVisible(readOnly);
}

void SitesDialog::newSite() {
  {
    const QSignalBlocker quiet(list_);
    list_->setCurrentRow(-1);
  }
  setFieldsReadOnly(false);
  clearFieldErrors();
  // Empty fields show their hints.
  for (QLineEdit* edit : {name_, longitude_, latitude_, height_}) edit->clear();
  zone_->setCurrentIndex(-1);
  zone_->setEditText(QString());
  replace_->setEnabled(false);
  remove_->setEnabled(false);
  use_->setEnabled(false);
  message_->clear();
  name_->setFocus();
}

void SitesDialog::clearFieldErrors() {
  for (const auto& [field, error] : fieldErrors_) {
    field->setStyleSheet(QString());
    error->clear();
    error->setVisible(false);
  }
}

void SitesDialog::showFieldError(QWidget* field, const QString& message) {
  for (const auto& [marked, error] : fieldErrors_) {
    if (marked != field) continue;
    field->setStyleSheet(QString::fromUtf8(kMarkedFieldStyle));
    error->setText(message);
    error->setVisible(true);
    field->setFocus();
  }
}

QWidget* SitesDialog::fieldOf(const std::string& refusal) const {
  const QString said = text(refusal);
  if (said.contains(text("緯度"))) return latitude_;
  if (said.contains(text("経度"))) return longitude_;
  if (said.contains(text("標高"))) return height_;
  if (said.contains(text("名前")) || said.contains(text("すでにあります"))) return name_;
  return nullptr;
}

void SitesDialog::fillList(const QString& select) {
  const QSignalBlocker quiet(list_);
  list_->clear();
  const std::string inUse = store_.defaultSite().name;
  for (const sky::Site& site : store_.sites()) {
    QString caption = text(site.name);
    if (site.name == inUse) caption += text("（使用中）");
    auto* item = new QListWidgetItem(caption, list_);
    item->setData(kNameRole, text(site.name));
  }
  list_->setCurrentRow(0);
  selectSite(select);
  showSelected();
}

void SitesDialog::showSelected() {
  const sky::Site* site = store_.find(selectedName().toStdString());
  if (site == nullptr) return;
  name_->setText(text(site->name));
  longitude_->setText(QString::number(site->longitudeDegrees, 'g', 12));
  latitude_->setText(QString::number(site->latitudeDegrees, 'g', 12));
  height_->setText(QString::number(site->heightMetres, 'g', 12));
  zone_->setCurrentText(text(site->zone));
  const bool builtIn = site->name == sky::kBuiltInSiteName;
  setFieldsReadOnly(builtIn);
  clearFieldErrors();
  replace_->setEnabled(!builtIn);
  remove_->setEnabled(!builtIn);
  use_->setEnabled(true);
}

sky::Checked<sky::Site> SitesDialog::siteFromForm(QWidget** badField) const {
  using Result = sky::Checked<sky::Site>;
  auto refuse = [badField](QWidget* field, const std::string& message) {
    *badField = field;
    return Result::failure(message);
  };
  *badField = nullptr;
  sky::Site site;
  site.name = name_->text().trimmed().toStdString();
  if (site.name.empty()) return refuse(name_, "観測地の名前を入力してください。");
  const auto longitude = sky::parseCoordinate(longitude_->text().toStdString(), sky::CoordinateKind::longitude);
  if (!longitude) return refuse(longitude_, longitude.message());
  const auto latitude = sky::parseCoordinate(latitude_->text().toStdString(), sky::CoordinateKind::latitude);
  if (!latitude) return refuse(latitude_, latitude.message());
  site.longitudeDegrees = *longitude;
  site.latitudeDegrees = *latitude;
  const QString height = height_->text().trimmed();
  bool ok = true;
  site.heightMetres = height.isEmpty() ? 0 : height.toDouble(&ok);
  if (!ok) return refuse(height_, "標高は m 単位の数で入力してください。");
  site.zone = zone_->currentText().trimmed().toStdString();
  if (const auto zone = sky::SiteZone::fromText(site.zone); !zone) return refuse(zone_, zone.message());
  if (sky::Refusal invalid = sky::validateSite(site)) return refuse(fieldOf(*invalid), *invalid);
  return Result::success(site);
}

bool SitesDialog::report(const sky::Refusal& refusal, const QString& done, QWidget* field) {
  clearFieldErrors();
  message_->setStyleSheet(refusal ? QString::fromUtf8(kErrorStyle) : QString());
  message_->setText(refusal ? text(*refusal) : done);
  if (refusal && field != nullptr) showFieldError(field, text(*refusal));
  return !refusal;
}

bool SitesDialog::addSite() {
  QWidget* badField = nullptr;
  const auto site = siteFromForm(&badField);
  if (!site) return report(site.message(), {}, badField);
  const sky::Refusal refused = store_.add(*site);
  if (!report(refused, text("観測地「" + site->name + "」を追加しました。"), refused ? fieldOf(*refused) : nullptr))
    return false;
  fillList(text(site->name));
  return true;
}

bool SitesDialog::replaceSite() {
  const QString old = selectedName();
  if (old.isEmpty()) return report(std::string("変更する観測地を選んでください。"), {});
  QWidget* badField = nullptr;
  const auto site = siteFromForm(&badField);
  if (!site) return report(site.message(), {}, badField);
  const sky::Refusal refused = store_.replace(old.toStdString(), *site);
  if (!report(refused, text("観測地「" + site->name + "」を変更しました。"), refused ? fieldOf(*refused) : nullptr))
    return false;
  fillList(text(site->name));
  return true;
}

bool SitesDialog::removeSite() {
  const QString name = selectedName();
  if (name.isEmpty()) return report(std::string("削除する観測地を選んでください。"), {});
  if (!report(store_.remove(name.toStdString()), text("観測地「") + name + text("」を削除しました。"))) return false;
  fillList(text(store_.defaultSite().name));
  return true;
}

bool SitesDialog::useSite() {
  const QString name = selectedName();
  if (name.isEmpty()) return report(std::string("使う観測地を選んでください。"), {});
  if (!report(store_.setDefault(name.toStdString()), text("観測地「") + name + text("」を使います。"))) return false;
  fillList(name);
  return true;
}

bool runSitesDialog(sky::SiteStore& store, QWidget* parent) {
  const std::vector<sky::Site> before = store.sites();
  const std::string defaultBefore = store.defaultSite().name;
  SitesDialog dialog(store, parent);
  dialog.exec();
  return store.sites() != before || store.defaultSite().name != defaultBefore;
}

}  // namespace tenmirel::ui
