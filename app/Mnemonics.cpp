// SPDX-License-Identifier: GPL-3.0-or-later
#include "Mnemonics.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <map>
#include <vector>

namespace {

constexpr QChar Mark = u'&';
constexpr const char* PlacedProperty = "tessimapMnemonicsPlaced";

// One menu text taken apart: what it shows, and the positions that could carry the mark.
struct TEntry {
    QString Plain;              // the text without its mark; "&&" stays
    std::vector<int> Preferred; // the marked letter first, then the first letter of each word
    std::vector<int> Others;    // every other letter or digit
    // Letters outside A-Z, in the same order: a US or Central European layout reaches them only
    // awkwardly, so they serve only when no other key is free.
    std::vector<int> Awkward;
};

QChar KeyAt(const TEntry& entry, int position) {
    return entry.Plain.at(position).toCaseFolded();
}

bool Typable(QChar c) {
    return c.unicode() < 0x80 && c.isLetterOrNumber();
}

TEntry Parse(const QString& text) {
    TEntry entry;
    int marked = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != Mark) {
            entry.Plain += text.at(i);
        } else if (i + 1 < text.size() && text.at(i + 1) == Mark) {
            entry.Plain += QStringLiteral("&&");
            ++i;
        } else if (marked < 0) {
            marked = int(entry.Plain.size());
        }
    }
    // Each key is offered once, at its best position.
    std::vector<QChar> seen;
    auto offer = [&](std::vector<int>& list, int position) {
        if (position < 0 || position >= entry.Plain.size() || !entry.Plain.at(position).isLetterOrNumber())
            return;
        const QChar key = KeyAt(entry, position);
        if (std::find(seen.begin(), seen.end(), key) != seen.end()) return;
        seen.push_back(key);
        (Typable(entry.Plain.at(position)) ? list : entry.Awkward).push_back(position);
    };
    offer(entry.Preferred, marked);
    for (int i = 0; i < entry.Plain.size(); ++i)
        if (i == 0 || !entry.Plain.at(i - 1).isLetterOrNumber()) offer(entry.Preferred, i);
    for (int i = 0; i < entry.Plain.size(); ++i)
        offer(entry.Others, i);
    return entry;
}

// Chooses a position for every entry such that as many entries as possible have a key of their
// own, first among the keys easy to type and only then among the rest; within that, earlier
// entries and preferred letters win.
class TMatcher {
  public:
    explicit TMatcher(std::vector<TEntry> entries)
        : Entries_(std::move(entries)), Chosen_(Entries_.size(), -1) {}

    std::vector<int> Choose() {
        for (std::size_t i = 0; i < Entries_.size(); ++i)
            TakeFree(i, Entries_[i].Preferred);
        for (std::size_t i = 0; i < Entries_.size(); ++i)
            TakeFree(i, Entries_[i].Others);
        RerouteUnplaced(false);
        for (std::size_t i = 0; i < Entries_.size(); ++i)
            TakeFree(i, Entries_[i].Awkward);
        RerouteUnplaced(true);
        // Unavoidable: the entry shares its best key; the menu then steps between the two.
        for (std::size_t i = 0; i < Entries_.size(); ++i) {
            if (Chosen_[i] >= 0) continue;
            const std::vector<int> all = Candidates(i, true);
            if (!all.empty()) Chosen_[i] = all.front();
        }
        return Chosen_;
    }

  private:
    std::vector<int> Candidates(std::size_t entry, bool withAwkward) const {
        const TEntry& e = Entries_[entry];
        std::vector<int> all = e.Preferred;
        all.insert(all.end(), e.Others.begin(), e.Others.end());
        if (withAwkward) all.insert(all.end(), e.Awkward.begin(), e.Awkward.end());
        return all;
    }
    void Take(std::size_t entry, int position) {
        Chosen_[entry] = position;
        Owner_[KeyAt(Entries_[entry], position)] = entry;
    }
    void TakeFree(std::size_t entry, const std::vector<int>& positions) {
        if (Chosen_[entry] >= 0) return;
        for (int position : positions)
            if (!Owner_.count(KeyAt(Entries_[entry], position))) {
                Take(entry, position);
                return;
            }
    }
    void RerouteUnplaced(bool withAwkward) {
        for (std::size_t i = 0; i < Entries_.size(); ++i) {
            if (Chosen_[i] >= 0) continue;
            std::vector<QChar> visited;
            Reroute(i, withAwkward, visited);
        }
    }
    // Takes a key from an entry that can move to another one (an augmenting path).
    bool Reroute(std::size_t entry, bool withAwkward, std::vector<QChar>& visited) {
        for (int position : Candidates(entry, withAwkward)) {
            const QChar key = KeyAt(Entries_[entry], position);
            if (std::find(visited.begin(), visited.end(), key) != visited.end()) continue;
            visited.push_back(key);
            const auto owner = Owner_.find(key);
            if (owner == Owner_.end() || Reroute(owner->second, withAwkward, visited)) {
                Take(entry, position);
                return true;
            }
        }
        return false;
    }

    std::vector<TEntry> Entries_;
    std::vector<int> Chosen_;
    std::map<QChar, std::size_t> Owner_;
};

// The visible items of one menu, or the titles of the bar: one group of keys.
void PlaceInGroup(const QList<QAction*>& actions) {
    QList<QAction*> shown;
    QStringList texts;
    for (QAction* action : actions) {
        if (!action->isVisible() || action->isSeparator() || action->text().isEmpty()) continue;
        shown.append(action);
        texts.append(action->text());
    }
    const QStringList marked = WithMnemonics(texts);
    for (qsizetype i = 0; i < shown.size(); ++i)
        if (shown.at(i)->text() != marked.at(i)) shown.at(i)->setText(marked.at(i));
}

void PlaceInMenu(QMenu* menu) {
    PlaceInGroup(menu->actions());
    if (!menu->property(PlacedProperty).toBool()) {
        menu->setProperty(PlacedProperty, true);
        QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] { PlaceInMenu(menu); });
    }
    for (QAction* action : menu->actions())
        if (QMenu* submenu = action->menu()) PlaceInMenu(submenu);
}

} // namespace

QStringList WithMnemonics(const QStringList& texts) {
    std::vector<TEntry> entries;
    for (const QString& text : texts)
        entries.push_back(Parse(text));
    const std::vector<int> chosen = TMatcher(entries).Choose();
    QStringList result;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        QString text = entries[i].Plain;
        if (chosen[i] >= 0) text.insert(chosen[i], Mark);
        result.append(text);
    }
    return result;
}

QString WithoutMnemonic(const QString& text) {
    return Parse(text).Plain;
}

void AssignMnemonics(QMenuBar* bar) {
    PlaceInGroup(bar->actions());
    for (QAction* title : bar->actions())
        if (QMenu* menu = title->menu()) PlaceInMenu(menu);
}
