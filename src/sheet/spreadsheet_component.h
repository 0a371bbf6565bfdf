#pragma once
// The outside spreadsheet component, reduced to the nine operations the lists
// use. Any of them may fail; a failure is a non-zero number, as the automation
// server would raise it. Implementations: a real .xlsx writer, an in-memory
// sheet for the command line, and recording fakes in the tests.
#include <cstdint>
#include <string>
#include <variant>

namespace tenmirel {

// The class name the openers ask for.
inline constexpr const char* kSpreadsheetClassName = "Excel.Application";

// The failure numbers of the seam, with the values an automation server gives
// them; the operations pass them on as plain numbers.
enum SheetError : int {
  kNoSheetError = 0,
  // Raised by the openers and writers themselves.
  kOverflowError = 6,             // a count beyond 16 bits
  kSubscriptOutOfRangeError = 9,  // a buffer row that does not exist
  kObjectNotSetError = 91,        // a call on an object never obtained
  // Raised by a component.
  kFileAccessError = 75,          // the file could not be written
  kObjectRequiredError = 424,     // a call on an object the component does not know
  kNoRunningInstanceError = 429,  // no running instance to attach to
  kCellRefusedError = 1004,       // the application refused the cell
};

// A reference to an object of the component; id 0 is "nothing".
struct ObjectRef {
  int id = 0;
  bool empty() const { return id == 0; }
  friend bool operator==(const ObjectRef&, const ObjectRef&) = default;
};

// What an operation that hands out an object gives back.
struct Obtained {
  int error = 0;
  ObjectRef object;
};

// A cell takes a text or a number.
using CellValue = std::variant<std::string, double>;

class SpreadsheetComponent {
 public:
  virtual ~SpreadsheetComponent() = default;
  // 1: a running instance of the class; fails when none runs.
  virtual Obtained attach(const std::string& className) = 0;
  // 2: a new instance of the class.
  virtual Obtained create(const std::string& className) = 0;
  // 3: make the application visible to the user.
  virtual int makeVisible(ObjectRef application) = 0;
  // 4: the active workbook; an empty reference (no failure) when none is open.
  virtual Obtained activeWorkbook(ObjectRef application) = 0;
  // 5: a new, empty sheet in the workbook.
  virtual Obtained addSheet(ObjectRef workbook) = 0;
  // 6: a new workbook.
  virtual Obtained addWorkbook(ObjectRef application) = 0;
  // 7: the workbook's active sheet.
  virtual Obtained activeSheet(ObjectRef workbook) = 0;
  // 8: store a value in the cell (row, column), both counted from 1.
  virtual int setCell(ObjectRef worksheet, std::int16_t row, std::int16_t column, const CellValue& value) = 0;
  // 9: give up a reference; the application itself keeps running.
  virtual int release(ObjectRef object) = 0;
};

}  // namespace tenmirel
