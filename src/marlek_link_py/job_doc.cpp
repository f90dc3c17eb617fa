#include "marlek_link_py/job_doc.hpp"

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <vector>

namespace {

constexpr std::size_t kWidth = 106;
constexpr std::string_view kBullet = "* ";

std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    return lines;
}

std::string_view trimmed(std::string_view line)
{
    const auto first = line.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view{} : line.substr(first);
}

// The docstring's paragraphs and bullet items, each as one line of words.
std::vector<std::string> blocksOf(std::string_view doc)
{
    std::vector<std::string> blocks;
    bool open = false;
    for (const auto line : linesOf(doc)) {
        const auto words = trimmed(line);
        if (words.empty()) {
            open = false;
        } else if (open && !words.starts_with(kBullet)) {
            blocks.back() += ' ';
            blocks.back() += words;
        } else {
            blocks.emplace_back(words);
            open = true;
        }
    }
    return blocks;
}

// `first` before the first line, `indent` before the others.
std::string wrapped(std::string_view words, const std::string& first, const std::string& indent)
{
    std::string text = first;
    std::size_t lineStart = 0;
    bool lineEmpty = true;
    while (!words.empty()) {
        const auto end = words.find(' ');
        const auto word = words.substr(0, end);
        words = end == std::string_view::npos ? std::string_view{} : words.substr(end + 1);
        if (!lineEmpty && text.size() - lineStart + 1 + word.size() > kWidth) {
            text += '\n';
            lineStart = text.size();
            text += indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            text += ' ';
        }
        text += word;
        lineEmpty = false;
    }
    return text + '\n';
}

} // namespace

std::string job_doc::param(std::string_view name, std::string_view doc)
{
    const auto blocks = blocksOf(doc);
    if (blocks.empty()) {
        throw std::logic_error("the argument " + std::string(name) + " has no docstring");
    }
    const std::string head = "    :param " + std::string(name) + ":";
    const std::string body(8, ' ');
    std::string text;
    std::size_t next = 0;
    if (blocks.front().starts_with(kBullet)) {
        text = head + '\n';
    } else {
        text = wrapped(blocks.front(), head + ' ', body);
        next = 1;
    }
    bool afterBullet = false;
    for (; next < blocks.size(); ++next) {
        const bool bullet = blocks[next].starts_with(kBullet);
        if (!(bullet && afterBullet)) {
            text += '\n';
        }
        text += bullet ? wrapped(blocks[next], body, body + "  ") : wrapped(blocks[next], body, body);
        afterBullet = bullet;
    }
    return text;
}

std::string job_doc::requestExample(std::string_view type, std::string_view parameters)
{
    std::string id(type);
    std::ranges::replace(id, '_', '-');
    std::string nested;
    const auto lines = linesOf(parameters);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        nested += i == 0 ? "" : "\n                    ";
        nested += lines[i];
    }
    return "\n    .. collapse:: WebSocket JSON Example\n\n"
           "        .. code-block:: json\n\n"
           "            {\n"
           "                \"do\": \"/job/start\",\n"
           "                \"request_id\": \""
           + id
           + "-job-uuid-example\",\n"
             "                \"job\": {\n"
             "                    \"type\": \""
           + std::string(type)
           + "\",\n"
             "                    \"parameters\": "
           + nested
           + ",\n"
             "                    \"stop_conditions\": [],\n"
             "                    \"job_meta\": {}\n"
             "                }\n"
             "            }\n";
}
