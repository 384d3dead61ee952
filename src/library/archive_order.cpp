// SPDX-License-Identifier: GPL-3.0-or-later
// The archive order: a case-insensitive, locale-aware collation of the decoded names.
#include "library/archive_order.h"

#include <QCollator>
#include <algorithm>
#include <numeric>

#include "platform/name_text.h"

namespace kelvorn {

namespace {

QCollator archiveCollator() {
    // The user's locale; the C/POSIX locale would collate by code point, so it is
    // replaced by the common (root) rules, which English uses unchanged.
    QLocale locale;
    if (locale.language() == QLocale::C) locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    collator.setIgnorePunctuation(false);
    return collator;
}

// A collator built without locale support compares code points and may keep letter
// case; the archive order must ignore it all the same.
bool ignoresCase(const QCollator& collator) {
    return collator.compare(QStringLiteral("a"), QStringLiteral("B")) < 0 &&
           collator.compare(QStringLiteral("A"), QStringLiteral("b")) < 0 &&
           collator.compare(QStringLiteral("a"), QStringLiteral("A")) == 0;
}

// Reorders `names` by the stable order of `keys` (one key per name).
template <typename Less>
void sortByKeys(std::vector<std::string>& names, Less less) {
    std::vector<size_t> order(names.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), less);
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (size_t i : order) sorted.push_back(std::move(names[i]));
    names = std::move(sorted);
}

}  // namespace

void sortArchiveOrder(std::vector<std::string>& names) {
    if (names.size() < 2) return;
    const QCollator collator = archiveCollator();

    if (ignoresCase(collator)) {
        // One sort key per name: each comparison is then a byte compare.
        std::vector<QCollatorSortKey> keys;
        keys.reserve(names.size());
        for (const std::string& name : names) keys.push_back(collator.sortKey(decodeName(name)));
        sortByKeys(names, [&](size_t a, size_t b) { return keys[a].compare(keys[b]) < 0; });
        return;
    }

    std::vector<QString> keys;
    keys.reserve(names.size());
    for (const std::string& name : names) keys.push_back(decodeName(name).toCaseFolded());
    sortByKeys(names, [&](size_t a, size_t b) { return keys[a] < keys[b]; });
}

}  // namespace kelvorn
