// ファイル(F) → "取り込み…" and "カタログの編集…" on the real main window: the
// import dialog's preview and filters on real GCVS lines, its save and the
// load it offers; the editor's checks, its save with a backup, the question on
// closing with unsaved changes, and the main window reading what was saved.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <filesystem>

#include "catalogue/star_file.h"
#include "importer/atomic_file.h"
#include "ui/catalogue/catalogue_editor_model.h"
#include "ui/catalogue/catalogue_editor_window.h"
#include "ui/catalogue/catalogue_menu.h"
#include "ui/catalogue/import_dialog.h"
#include "ui/catalogue/import_preview_model.h"
#include "ui/shared_choice.h"
#include "ui_harness.h"

namespace tenmirel::testing {

class CatalogueWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void theFileMenuOffersImportAndEditing();
  void thePreviewShowsEveryStarAndWhyOneIsLeftOut();
  void savingWritesTheChosenStarsAndLoadsThem();
  void theEditorChecksSavesWithABackupAndReloads();
  void closingWithUnsavedChangesAsks();
};

namespace {

std::string awkwardLines() { return (sourceDir() / "data" / "catalogue-samples" / "gcvs5-awkward-lines.txt").string(); }

// The main window with scripted catalogue ports: answers and what was said.
struct CatalogueHarness {
  RecordingMessages messages;
  ScriptedChooser chooser;
  TempDir dir;
  std::vector<std::string> told;
  std::vector<std::string> asked;
  bool answer = true;
  std::string fileToWrite;
  std::unique_ptr<ui::FrmYohou> window;

  CatalogueHarness() {
    ui::FrmYohouPorts ports;
    ports.messages = &messages;
    ports.chooser = &chooser;
    ports.endProgram = [] {};
    ports.plan.sitesFile = dir.path() / "sites.toml";
    ports.plan.elementsSettingsFile = dir.path() / "settings.toml";
    ports.catalogue.chooseCatalogueToImport = [] { return std::optional<std::string>(awkwardLines()); };
    ports.catalogue.chooseFileToWrite = [this](const std::string&) { return std::optional<std::string>(fileToWrite); };
    ports.catalogue.confirm = [this](const std::string& question) {
      asked.push_back(question);
      return answer;
    };
    ports.catalogue.tell = [this](const std::string& text) { told.push_back(text); };
    window = std::make_unique<ui::FrmYohou>(std::move(ports), fixedClock());
  }
};

QStringList actionTexts(const QList<QAction*>& actions) {
  QStringList texts;
  for (const QAction* action : actions) texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
  return texts;
}

}  // namespace

void CatalogueWindowsTest::theFileMenuOffersImportAndEditing() {
  CatalogueHarness ui;
  auto* file = ui.window->findChild<QMenu*>(QStringLiteral("MenuFile"));
  QVERIFY(file);
  QCOMPARE(actionTexts(file->actions()),
           (QStringList{QStringLiteral("開く(&O)"), QStringLiteral("取り込み…"), QStringLiteral("カタログの編集…"),
                        QStringLiteral("-"), QStringLiteral("終了(&Q)")}));
  // Editing before any catalogue is loaded says what to do first.
  ui.window->mnuEditCatalogue()->trigger();
  QCOMPARE(ui.told.size(), std::size_t{1});
  QVERIFY(ui.window->catalogueMenu().editorWindow() == nullptr);
}

void CatalogueWindowsTest::thePreviewShowsEveryStarAndWhyOneIsLeftOut() {
  CatalogueHarness ui;
  ui.window->mnuImport()->trigger();
  ui::ImportDialog* dialog = ui.window->catalogueMenu().importDialog();
  QVERIFY(dialog);
  QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("importBrowse")), Qt::LeftButton);
  ui::ImportPreviewModel& model = dialog->model();
  QCOMPARE(model.rowCount(), 23);
  QCOMPARE(model.imported(), 14);
  QVERIFY(dialog->findChild<QLabel*>(QStringLiteral("importDetected"))->text().contains(QStringLiteral("GCVS 5.1")));
  // T CrB, line 7: a mean cycle, said in its row.
  const QString outcome = model.data(model.index(6, ui::ImportPreviewModel::kOutcome), Qt::DisplayRole).toString();
  QCOMPARE(model.data(model.index(6, ui::ImportPreviewModel::kName), Qt::DisplayRole).toString(),
           QStringLiteral("T CrB"));
  QVERIFY(outcome.contains(QStringLiteral("平均周期")));
  // The command line's filters, here the type.
  dialog->findChild<QLineEdit*>(QStringLiteral("importTypes"))->setText(QStringLiteral("EA"));
  QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("importShow")), Qt::LeftButton);
  QCOMPARE(model.rowCount(), 23);
  QCOMPARE(model.imported(), 6);
  // A filter that is not a number is said, and the preview stays.
  dialog->findChild<QLineEdit*>(QStringLiteral("importBrighter"))->setText(QStringLiteral("明るい"));
  QVERIFY(!dialog->preview(awkwardLines()));
  QVERIFY(!ui.told.empty());
  QCOMPARE(model.imported(), 6);
}

void CatalogueWindowsTest::savingWritesTheChosenStarsAndLoadsThem() {
  CatalogueHarness ui;
  ui.fileToWrite = (ui.dir.path() / "imported.vsd").string();
  ui.window->mnuImport()->trigger();
  ui::ImportDialog* dialog = ui.window->catalogueMenu().importDialog();
  QVERIFY(dialog->preview(awkwardLines()));
  QVERIFY(dialog->save());
  QCOMPARE(readStarFile(ui.fileToWrite).count, 14);
  // The load it offered was taken: the main window lists the imported stars.
  QCOMPARE(ui.asked.size(), std::size_t{1});
  QCOMPARE(ui.window->model().starCount, 14);
  QCOMPARE(QString::fromStdString(ui.window->model().starTable[1].starName), QStringLiteral("RT And"));
  // VSX elements are heliocentric: the program's one choice of time systems knows it at once.
  ui.fileToWrite = (ui.dir.path() / "vsx.vsd").string();
  QVERIFY(dialog->preview((sourceDir() / "data" / "catalogue-samples" / "vsx-api-json.txt").string()));
  QVERIFY(dialog->save());
  QCOMPARE(ui.window->choice().elementsTimeOf(ui.fileToWrite), sky::ElementsTime::hjd);
  QCOMPARE(ui.window->model().starCount, 5);
  ui.fileToWrite = (ui.dir.path() / "imported.vsd").string();
  QVERIFY(dialog->preview(awkwardLines()));
  ui.asked.clear();
  // Saving again over the file asks before replacing; "no" writes nothing.
  ui.answer = false;
  QVERIFY(!dialog->save());
  QCOMPARE(ui.asked.size(), std::size_t{1});
}

void CatalogueWindowsTest::theEditorChecksSavesWithABackupAndReloads() {
  CatalogueHarness ui;
  const auto file = ui.dir.path() / "sample.vsd";
  std::filesystem::copy_file(sourceDir() / "data" / "sample.vsd", file);
  const std::string before = [&] {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();
  ui.chooser.answers.push_back(file.string());
  ui.window->findChild<QAction*>(QStringLiteral("MenuOpen"))->trigger();
  QCOMPARE(ui.window->model().starCount, 39);

  ui.window->mnuEditCatalogue()->trigger();
  ui::CatalogueEditorWindow* editor = ui.window->catalogueMenu().editorWindow();
  QVERIFY(editor);
  ui::CatalogueEditorModel& model = editor->model();
  QCOMPARE(model.rowCount(), 39);
  // A period that is no positive number is refused and said; the cell keeps its value.
  const QModelIndex period = model.index(0, 2);
  const QString oldPeriod = model.data(period, Qt::DisplayRole).toString();
  QVERIFY(!model.setData(period, QStringLiteral("-2"), Qt::EditRole));
  QCOMPARE(model.data(period, Qt::DisplayRole).toString(), oldPeriod);
  QCOMPARE(ui.told.size(), std::size_t{1});
  // A good edit, a new star and a move, then 保存.
  QVERIFY(model.setData(period, QStringLiteral("1.8125918"), Qt::EditRole));
  QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("editorAdd")), Qt::LeftButton);
  QCOMPARE(model.rowCount(), 40);
  QVERIFY(editor->windowTitle().endsWith(QStringLiteral("*")));
  QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("editorSave")), Qt::LeftButton);
  QVERIFY(!editor->windowTitle().endsWith(QStringLiteral("*")));

  std::ifstream backup(importer::backupPath(file), std::ios::binary);
  QCOMPARE(std::string(std::istreambuf_iterator<char>(backup), {}), before);
  // The main window read the saved file as a load does.
  QCOMPARE(ui.window->model().starCount, 40);
  QCOMPARE(QString::fromStdString(ui.window->model().starTable[0].syuki), QStringLiteral("1.8125918"));
  QCOMPARE(QString::fromStdString(ui.window->model().starTable[39].starName), QStringLiteral("新しい星"));
}

void CatalogueWindowsTest::closingWithUnsavedChangesAsks() {
  CatalogueHarness ui;
  const auto file = ui.dir.path() / "sample.vsd";
  std::filesystem::copy_file(sourceDir() / "data" / "sample.vsd", file);
  ui.chooser.answers.push_back(file.string());
  ui.window->findChild<QAction*>(QStringLiteral("MenuOpen"))->trigger();
  ui.window->mnuEditCatalogue()->trigger();
  QPointer<ui::CatalogueEditorWindow> editor = ui.window->catalogueMenu().editorWindow();
  editor->show();
  QVERIFY(editor->model().moveStar(0, 1));
  ui.answer = false;
  QVERIFY(!editor->close());
  QCOMPARE(ui.asked.size(), std::size_t{1});
  QVERIFY(editor);
  ui.answer = true;
  QVERIFY(editor->close());
  QCOMPARE(ui.asked.size(), std::size_t{2});
  QCOMPARE(readStarFile(file).records[0].starName, std::string("TV Cas"));  // nothing saved
}

}  // namespace tenmirel::testing

QTEST_MAIN(tenmirel::testing::CatalogueWindowsTest)
#include "catalogue_windows_test.moc"
