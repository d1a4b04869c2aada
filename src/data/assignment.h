// Assignments: "name = expression" statements, LET and SWAP.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/variable_cells.h"
#include "expr/compiled_numeric.h"
#include "expr/eval.h"
#include "flow/threads.h"

void Assign(std::string &text);

// What an assignment text "name=expression" gives once its blanks are
// gone: a plain numeric scalar target (letters, digits, "_", "#", "!",
// "%") or an element of one, and the prepared expression.
struct AssignPlan {
  bool plain = false;   // a scalar target
  bool element = false; // an array element target: name and subscripts
  std::string name;
  std::string target;
  NumericText expr;
  std::vector<NumericText> subscripts;
  ScalarCell cell;
  KindCache kind; // the target's, for making it
  ArrayCells array;
  std::vector<int32_t> values;
};

// The plan of the assignment TEXT (blanks included), or null when it has
// neither target form.
std::unique_ptr<AssignPlan> PrepareAssignment(const std::string &text);

// The plan of an assignment TEXT whose expression holds kHoleMarker where
// calls were cut out, its expression compiled with holes; null when the
// text has neither target form, a hole in its target, or an expression
// that does not compile so.
std::unique_ptr<AssignPlan> PrepareAssignmentWithHoles(const std::string &text);

// Carries out a planned assignment as Assign would; false, with nothing
// done, when its target is no existing numeric variable or declared array
// (Assign then takes the text's general path).
bool RunAssignment(AssignPlan &plan);

// The same for a plan from PrepareAssignmentWithHoles whose expression can
// run at the current nesting (CompiledFormFits); HOLES gives their values.
bool RunAssignment(AssignPlan &plan, const HoleValues &holes);
void LET(std::string &arg, ThreadIndex slot);
void SWAP(std::string &arg, ThreadIndex slot);
