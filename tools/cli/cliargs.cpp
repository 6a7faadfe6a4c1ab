#include "cliargs.h"

#include "board/notation.h"
#include "board/othellogame.h"
#include "library/datadirectorylock.h"

#include <cctype>
#include <cstdio>

std::vector<std::string_view> argumentList(std::span<char* const> args)
{
    return { args.begin(), args.end() };
}

std::string takeOption(
    std::vector<std::string_view>& args, std::string_view name, std::string_view fallback)
{
    const std::optional<std::vector<std::string>> values = takeOptionValues(args, name, 1);
    return values ? values->front() : std::string(fallback);
}

bool takeFlag(std::vector<std::string_view>& args, std::string_view name)
{
    return takeOptionValues(args, name, 0).has_value();
}

std::optional<std::vector<std::string>> takeOptionValues(
    std::vector<std::string_view>& args, std::string_view name, size_t count)
{
    for (size_t i = 0; i + count < args.size(); ++i) {
        if (args[i] == name) {
            const auto first = args.begin() + long(i);
            std::vector<std::string> values(first + 1, first + 1 + long(count));
            args.erase(first, first + 1 + long(count));
            return values;
        }
    }
    return std::nullopt;
}

bool lockDirectoryOf(const std::string& file, DataDirectoryLock& lock)
{
    const size_t slash = file.rfind('/');
    if (lock.acquire(slash == std::string::npos ? std::string() : file.substr(0, slash + 1))
        != DataDirectoryLock::Status::Taken)
        return true;
    std::fprintf(stderr, "pavione-cli: %s is in use by another program\n", file.c_str());
    return false;
}

std::optional<MoveList> playableMoves(const std::string& text)
{
    const MoveList moves = textToMoves(text);
    std::string upper = text;
    for (char& ch : upper)
        ch = char(std::toupper(static_cast<unsigned char>(ch)));
    OthelloGame game;
    game.selectVariant(OthelloBoard::kVariantStandard);
    if (movesToText(moves) != upper || game.replay(moves) != moves.size()) {
        std::fprintf(stderr, "pavione-cli: %s is not a game that can be played from the start\n",
            text.c_str());
        return std::nullopt;
    }
    return moves;
}
