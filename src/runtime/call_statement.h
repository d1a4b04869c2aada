// Statements that call SUB and FUNCTION routines: an assignment whose
// expression holds routine calls, or a SUB call standing alone. The calls
// are cut out of the statement text once, with their arguments prepared,
// and the expression is compiled with a hole for each call's value, so that
// a run neither rewrites the text nor evaluates a text that differs from
// run to run. The results are those of pre-evaluating the text.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/assignment.h"
#include "expr/eval.h"
#include "expr/routines.h"
#include "flow/threads.h"
#include "runtime/program.h"

struct CallStatement {
  // The statement's text around the calls: pieces[i] stands before
  // sites[i], the last piece behind the last call.
  std::vector<std::string> pieces;
  std::vector<CallSite> sites;
  bool wantValues = false;            // an assignment; otherwise a SUB call
  std::unique_ptr<AssignPlan> assign; // an assignment's plan, with holes
};

// The plan of STATEMENT (a cut statement, not an IF), or null when it is
// neither form: calls whose argument lists hold quotes or further calls, or
// any other control token, are left to the text path.
std::unique_ptr<CallStatement> PrepareCallStatement(const std::string &statement);

// Whether two plans were made from the same text.
bool SameCalls(const CallStatement &a, const CallStatement &b);

// Runs the statement as the text path would, under the run loop's hold on
// the lock, RUN, which the routines' own loops go on with. STATEMENT is the
// buffer for the text path, which takes over when a call's value is no
// number.
void RunCallStatement(const CallStatement &c, std::string &statement, ThreadIndex slot,
                      LockRun &run);
