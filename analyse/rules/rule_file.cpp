#include "analyse/rules/rule_file.h"

#include <atomic>
#include <string>

#include "analyse/handles.h"
#include "analyse/rules/detail/rule_failure.h"
#include "analyse/rules/rule_parser.h"
#include "analyse/rules/rule_program.h"
#include "imagecore/report.h"

namespace {

std::atomic<bool> faults_fatal{true};
thread_local std::string failure;

}  // namespace

void set_rule_faults_fatal(bool fatal)
{
    faults_fatal = fatal;
}

bool rule_faults_fatal()
{
    return faults_fatal;
}

void clear_rule_failure()
{
    failure.clear();
}

void note_rule_failure(const std::string& text)
{
    if (!failure.empty())
        return;
    failure = text;
    while (!failure.empty() && (failure.back() == '\n' || failure.back() == ' '))
        failure.pop_back();
}

const char* last_rule_failure()
{
    return failure.c_str();
}

program* parse_rule_file(const char* rule_file, int width)
{
    // openyyin keeps the previous input for a null name, which must not be
    // parsed again.
    clear_rule_failure();
    if (rule_file == nullptr)
        return nullptr;
    program_handle prog(init_program());
    prog->width = width;
    if (openyyin(rule_file) == 0)
        note_rule_failure("the rule file does not open");
    vx_report("Parsing File: %s ...", rule_file);
    int result = 1;
    try {
        result = yyparse(prog.get());
    } catch (...) {
        // Exhausted memory: the input goes, and the program with it.
        closeyyin();
        throw;
    }
    closeyyin();
    if (result != 0) {
        note_rule_failure("the rule file does not parse");
        return nullptr;
    }
    vx_report("done\n");
    return prog.release();
}
