// The sites dialog as an observer meets it: "新規" empties the fields with their
// hints showing, the built-in site's fields are read-only, and a refusal is shown
// in red beside the field it is about, that field marked.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "sky/site_store.h"
#include "support/recording_ports.h"
#include "ui/plan/sites_dialog.h"

namespace tenmirel::testing {

class SitesDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void newEmptiesTheFieldsWithTheirHints();
  void theBuiltInSitesFieldsAreReadOnly();
  void aRefusalStandsBesideItsField_data();
  void aRefusalStandsBesideItsField();
};

namespace {

QString qs(const char* utf8) { return QString::fromUtf8(utf8); }

QLineEdit* edit(ui::SitesDialog& dialog, const char* name) { return dialog.findChild<QLineEdit*>(qs(name)); }

}  // namespace

void SitesDialogTest::newEmptiesTheFieldsWithTheirHints() {
  TempDir dir;
  sky::SiteStore store(dir.path() / "sites.toml");
  ui::SitesDialog dialog(store);
  dialog.findChild<QPushButton*>(QStringLiteral("newSite"))->click();
  QCOMPARE(dialog.selectedName(), QString());
  for (const char* name : {"siteName", "siteLongitude", "siteLatitude", "siteHeight"}) {
    QVERIFY2(edit(dialog, name)->text().isEmpty(), name);
    QVERIFY2(!edit(dialog, name)->placeholderText().isEmpty(), name);
    QVERIFY2(!edit(dialog, name)->isReadOnly(), name);
  }
  auto* zone = dialog.findChild<QComboBox*>(QStringLiteral("siteZone"));
  QVERIFY(zone->isEnabled());
  QCOMPARE(zone->currentText(), QString());
  QVERIFY(!zone->lineEdit()->placeholderText().isEmpty());
  QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("replaceSite"))->isEnabled());

  edit(dialog, "siteName")->setText(qs("富士山頂"));
  edit(dialog, "siteLongitude")->setText(QStringLiteral("138 43 39"));
  edit(dialog, "siteLatitude")->setText(QStringLiteral("35 21 38"));
  edit(dialog, "siteHeight")->setText(QStringLiteral("3776"));
  zone->setCurrentText(QStringLiteral("Asia/Tokyo"));
  QVERIFY(dialog.addSite());
  QVERIFY(store.find("富士山頂") != nullptr);
  QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("siteMessage"))->styleSheet(), QString());  // not red
}

void SitesDialogTest::theBuiltInSitesFieldsAreReadOnly() {
  TempDir dir;
  sky::SiteStore store(dir.path() / "sites.toml");
  QVERIFY(!store.add({"Praha", 14.42, 50.08, 300, "Europe/Prague"}));
  ui::SitesDialog dialog(store);
  dialog.selectSite(qs(sky::kBuiltInSiteName));
  for (const char* name : {"siteName", "siteLongitude", "siteLatitude", "siteHeight"}) {
    QVERIFY2(edit(dialog, name)->isReadOnly(), name);
  }
  QVERIFY(!dialog.findChild<QComboBox*>(QStringLiteral("siteZone"))->isEnabled());
  QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("addSite"))->isEnabled());  // "新規" first
  QVERIFY(!dialog.findChild<QLabel*>(QStringLiteral("builtInHint"))->isHidden());
  dialog.selectSite(QStringLiteral("Praha"));
  QVERIFY(!edit(dialog, "siteName")->isReadOnly());
  QVERIFY(dialog.findChild<QComboBox*>(QStringLiteral("siteZone"))->isEnabled());
  QVERIFY(dialog.findChild<QLabel*>(QStringLiteral("builtInHint"))->isHidden());
}

void SitesDialogTest::aRefusalStandsBesideItsField_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("longitude");
  QTest::addColumn<QString>("latitude");
  QTest::addColumn<QString>("height");
  QTest::addColumn<QString>("zone");
  QTest::addColumn<QString>("field");
  QTest::newRow("no name") << ""
                           << "10"
                           << "10"
                           << "0"
                           << "UTC"
                           << "siteName";
  QTest::newRow("a name taken") << "Praha"
                                << "10"
                                << "10"
                                << "0"
                                << "UTC"
                                << "siteName";
  QTest::newRow("longitude beyond 180") << "a"
                                        << "181"
                                        << "10"
                                        << "0"
                                        << "UTC"
                                        << "siteLongitude";
  QTest::newRow("latitude beyond 90") << "b"
                                      << "10"
                                      << "95"
                                      << "0"
                                      << "UTC"
                                      << "siteLatitude";
  QTest::newRow("height not a number") << "c"
                                       << "10"
                                       << "10"
                                       << "abc"
                                       << "UTC"
                                       << "siteHeight";
  QTest::newRow("height beyond 10 km") << "d"
                                       << "10"
                                       << "10"
                                       << "20000"
                                       << "UTC"
                                       << "siteHeight";
  QTest::newRow("unknown zone") << "e"
                                << "10"
                                << "10"
                                << "0"
                                << "Mars/Olympus"
                                << "siteZone";
}

void SitesDialogTest::aRefusalStandsBesideItsField() {
  QFETCH(QString, name);
  QFETCH(QString, longitude);
  QFETCH(QString, latitude);
  QFETCH(QString, height);
  QFETCH(QString, zone);
  QFETCH(QString, field);
  TempDir dir;
  sky::SiteStore store(dir.path() / "sites.toml");
  QVERIFY(!store.add({"Praha", 14.42, 50.08, 300, "Europe/Prague"}));
  ui::SitesDialog dialog(store);
  dialog.newSite();
  edit(dialog, "siteName")->setText(name);
  edit(dialog, "siteLongitude")->setText(longitude);
  edit(dialog, "siteLatitude")->setText(latitude);
  edit(dialog, "siteHeight")->setText(height);
  dialog.findChild<QComboBox*>(QStringLiteral("siteZone"))->setCurrentText(zone);
  QVERIFY(!dialog.addSite());
  QCOMPARE(store.sites().size(), std::size_t{2});
  // Beside the field, the same words as the dialog's message, in red; the field marked.
  QCOMPARE(dialog.fieldErrorText(field), dialog.messageText());
  QVERIFY(!dialog.messageText().isEmpty());
  auto* error = dialog.findChild<QLabel*>(field + QStringLiteral("Error"));
  QVERIFY(!error->isHidden());
  QVERIFY(error->styleSheet().contains(QStringLiteral("#c62828")));
  QVERIFY(dialog.findChild<QWidget*>(field)->styleSheet().contains(QStringLiteral("#c62828")));
  QVERIFY(dialog.findChild<QLabel*>(QStringLiteral("siteMessage"))->styleSheet().contains(QStringLiteral("#c62828")));
  for (const char* other : {"siteName", "siteLongitude", "siteLatitude", "siteHeight", "siteZone"}) {
    if (field != qs(other)) QVERIFY2(dialog.fieldErrorText(qs(other)).isEmpty(), other);
  }
  // Mended, the marks go.
  dialog.selectSite(QStringLiteral("Praha"));
  QVERIFY(dialog.fieldErrorText(field).isEmpty());
  QCOMPARE(dialog.findChild<QWidget*>(field)->styleSheet(), QString());
}

}  // namespace tenmirel::testing

QTEST_MAIN(tenmirel::testing::SitesDialogTest)
#include "sites_dialog_test.moc"
