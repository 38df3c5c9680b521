// Counting what the host process holds, and leaking on purpose to show that
// the counts see it.
#include "runner.h"
#include "test_leaks.h"
#include "transcript.h"

bool SRunner::Resources(const SScriptCommand& command, bool* handled) {
    *handled = true;
    const std::string& name = command.name;
    const std::vector<std::string>& args = command.args;

    if (name == "resources-mark") {
        resourcesMark_ = CountResources();
        PrintLine(ResourcesLine(*resourcesMark_));
        return true;
    }
    if (name == "expect-resources-steady") {
        const SResourceCounts now = CountResources();
        PrintLine(ResourcesLine(now));
        for (size_t i = 0; i < kResourceKinds; ++i) {
            long long allowed = 0;
            ParseInteger(args[i], &allowed);
            const std::string kind(ResourceName(static_cast<SResourceKind>(i)));
            if (now.values[i] < 0 || resourcesMark_->values[i] < 0) {
                PrintFail(command.line, "a count of " + kind, "none from the system");
                continue;
            }
            const long long grew = now.values[i] - resourcesMark_->values[i];
            if (grew <= allowed) continue;
            MarkFailed();
            PrintLine("FAIL line " + std::to_string(command.line) + ": " + kind + " grew by " +
                      std::to_string(grew) + " (allowed " + std::to_string(allowed) + ")");
        }
        return true;
    }
    if (name == "leak-for-test") {
        SResourceKind kind = SResourceKind::Handles;
        long long count = 0;
        ParseLeakKind(args[0], &kind);
        ParseInteger(args[1], &count);
        if (!LeakForTest(kind, count))
            return ScriptError(command.line, "the system refused the leak of " + args[1] + " " + args[0]);
        return true;
    }
    *handled = false;
    return true;
}
