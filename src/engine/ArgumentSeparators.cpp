#include "ArgumentSeparators.h"

#include <algorithm>
#include <string_view>

namespace ordwell {

namespace {

std::int64_t Step(char c) {
    return c == '(' ? 1 : c == ')' ? -1 : 0;
}

} // namespace

ArgumentSeparators::ArgumentSeparators(std::string_view line) : m_line(line) {
    m_depths.reserve(line.size() / kStride + 1);
    std::int64_t depth = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (i % kStride == 0) {
            m_depths.push_back(depth);
        }
        if (line[i] == ',') {
            m_commas.emplace_back(depth, i);
        } else if (line[i] == '"' && i + 1 < line.size() && (line[i + 1] == ',' || line[i + 1] == ')')) {
            m_closingQuotes.push_back(i);
        }
        depth += Step(line[i]);
    }
    std::sort(m_commas.begin(), m_commas.end());
}

std::int64_t ArgumentSeparators::DepthAt(std::size_t offset) const {
    const std::size_t stride = offset / kStride;
    std::int64_t depth = m_depths[stride];
    for (std::size_t i = stride * kStride; i < offset; ++i) {
        depth += Step(m_line[i]);
    }
    return depth;
}

std::size_t ArgumentSeparators::NextComma(std::string_view part) const {
    if (part.size() < 2) {
        return std::string_view::npos;
    }
    const auto begin = static_cast<std::size_t>(part.data() - m_line.data());
    const std::size_t end = begin + part.size() - 1;
    const std::pair<std::int64_t, std::size_t> from{DepthAt(begin), begin};
    const auto found = std::lower_bound(m_commas.begin(), m_commas.end(), from);
    if (found == m_commas.end() || found->first != from.first || found->second >= end) {
        return std::string_view::npos;
    }
    return found->second - begin;
}

std::size_t ArgumentSeparators::NextClosingQuote(std::string_view part) const {
    if (part.size() < 3) {
        return std::string_view::npos;
    }
    const auto begin = static_cast<std::size_t>(part.data() - m_line.data());
    const auto found = std::lower_bound(m_closingQuotes.begin(), m_closingQuotes.end(), begin + 1);
    if (found == m_closingQuotes.end() || *found + 1 >= begin + part.size()) {
        return std::string_view::npos;
    }
    return *found - begin;
}

} // namespace ordwell
