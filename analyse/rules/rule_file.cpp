#include "analyse/rules/rule_file.h"

#include <atomic>

#include "analyse/rules/rule_parser.h"
#include "analyse/rules/rule_program.h"
#include "imagecore/report.h"

namespace {

std::atomic<bool> faults_fatal{true};

}  // namespace

void set_rule_faults_fatal(bool fatal)
{
    faults_fatal = fatal;
}

bool rule_faults_fatal()
{
    return faults_fatal;
}

program* parse_rule_file(const char* rule_file, int width)
{
    // openyyin keeps the previous input for a null name, which must not be
    // parsed again.
    if (rule_file == nullptr)
        return nullptr;
    program* prog = init_program();
    prog->width = width;
    openyyin(rule_file);
    vx_report("Parsing File: %s ...", rule_file);
    const int result = yyparse(prog);
    closeyyin();
    if (result != 0) {
        delete_program(prog);
        return nullptr;
    }
    vx_report("done\n");
    return prog;
}
