#include "exam/ExamBase.h"

#include "exam/ItemReader.h"
#include "interp/Errors.h"
#include "values/SuperMatrix.h"

namespace tesmora {
namespace {

const std::string& fileNameAt(const CSuperMatrix& files, int index, const char* builtin) {
  const MatObject* cell = files.cell(index);
  if (!cell || cell->typeCode != kStringType) {
    raiseAbout(builtin, "имя файла должно быть строкой");
  }
  return static_cast<const String*>(cell)->text;
}

ValuePtr itemTable(std::vector<Item>& items) {
  auto table = CSuperMatrix::create(static_cast<int>(items.size()), kItemColumnCount);
  for (std::size_t row = 0; row < items.size(); ++row) {
    Item& item = items[row];
    const int first = static_cast<int>(row) * kItemColumnCount;
    table->setCell(first + kItemName, std::make_unique<String>(std::move(item.name)));
    table->setCell(first + kItemComment, std::make_unique<String>(std::move(item.comment)));
    table->setCell(first + kItemSetup, std::make_unique<String>(std::move(item.setup)));
    table->setCell(first + kItemStatement,
                   std::make_unique<String>(std::move(item.statement)));
    table->setCell(first + kItemSolution, std::make_unique<String>(std::move(item.solution)));
  }
  return table;
}

bool isItemBase(const MatObject* value) {
  if (!value || value->typeCode != kSuperType) return false;
  const auto& table = asSuper(*value);
  if (table.cols() != kItemColumnCount && table.rows() != 0) return false;
  for (int i = 0; i < table.count(); ++i) {
    const MatObject* cell = table.cell(i);
    if (!cell || cell->typeCode != kStringType) return false;
  }
  return true;
}

}  // namespace

ValuePtr loadItemBase(const CSuperMatrix& files, const std::string& filter,
                      const char* builtin) {
  std::vector<Item> items;
  for (int i = 0; i < files.count(); ++i) {
    readItems(fileNameAt(files, i, builtin), filter, builtin, items);
  }
  return itemTable(items);
}

ValuePtr loadExamBase(const CSuperMatrix& lists, const std::string& filter) {
  const char* builtin = "LoadExamBase";
  for (int i = 0; i < lists.count(); ++i) {
    const MatObject* list = lists.cell(i);
    if (!list || list->typeCode != kSuperType) {
      raiseAbout(builtin, "недопустимый тип элемента аргумента 1");
    }
  }
  auto exam = CSuperMatrix::create(lists.count(), 1);
  for (int i = 0; i < lists.count(); ++i) {
    exam->setCell(i, loadItemBase(asSuper(*lists.cell(i)), filter, builtin));
  }
  return exam;
}

std::vector<CSuperMatrix*> variantsOf(const CSuperMatrix& exam, const char* builtin) {
  std::vector<CSuperMatrix*> variants;
  variants.reserve(exam.count());
  for (int i = 0; i < exam.count(); ++i) {
    MatObject* base = exam.cell(i);
    if (!isItemBase(base)) raiseAbout(builtin, "недопустимый тип элемента аргумента 1");
    variants.push_back(&asSuper(*base));
  }
  return variants;
}

std::string& itemText(const CSuperMatrix& base, int row, ItemColumn column) {
  return static_cast<String*>(base.cell(row, column))->text;
}

void replaceInComments(const CSuperMatrix& exam, const std::string& old,
                       const std::string& replacement, const char* builtin) {
  const std::vector<CSuperMatrix*> variants = variantsOf(exam, builtin);
  if (old.empty()) return;  // an empty text occurs nowhere to be replaced
  for (const CSuperMatrix* base : variants) {
    for (int row = 0; row < base->rows(); ++row) {
      std::string& comment = itemText(*base, row, kItemComment);
      for (std::size_t pos = comment.find(old); pos != std::string::npos;
           pos = comment.find(old, pos + replacement.size())) {
        comment.replace(pos, old.size(), replacement);
      }
    }
  }
}

bool hasTag(const std::string& comment, const char* tag) {
  return comment.find(tag) != std::string::npos;
}

}  // namespace tesmora
