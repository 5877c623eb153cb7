#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

namespace lumivert {

struct VerbStreams {
    std::ostream& out;
    std::ostream& err;
};

// One command-line verb: declares its options on its own subcommand, then runs the one core
// operation the window's button runs. Errors leave `run` as exceptions.
class Verb {
public:
    virtual ~Verb() = default;
    virtual CLI::App* declare(CLI::App& parent) = 0;
    virtual void run(VerbStreams& streams) = 0;
};

// A verb with the subcommand it declared.
struct DeclaredVerb {
    CLI::App* command;
    std::unique_ptr<Verb> verb;
};

// Declares `verb` under `parent` and keeps the pair.
inline DeclaredVerb declare(CLI::App& parent, std::unique_ptr<Verb> verb) {
    CLI::App* command = verb->declare(parent);
    return {command, std::move(verb)};
}

} // namespace lumivert
