#include "editor/PatchGenTree.h"

#include "common/NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace toneloft {

namespace {

constexpr int kOperators = 6;
constexpr std::array<const char*, PatchGenTree::kOperatorGroups> kOperatorGroupNames{
    "EG Rate", "EG Level", "EG Level Scaling", "Output Level", "Sensitivity", "Oscillator"};
constexpr std::array<const char*, 7> kVoiceGroupNames{
    "Algorithm", "Pitch EG Rate", "Pitch EG Level", "LFO", "Feedback", "Oscillator Key Sync", "Transpose"};

} // namespace

PatchGenTree::Node* PatchGenTree::make(Kind kind, Node* parent, std::string key, std::string text)
{
    auto node = std::make_unique<Node>();
    node->kind = kind;
    node->key = std::move(key);
    node->baseText = std::move(text);
    node->parent = parent;
    Node* raw = node.get();
    if (parent)
        parent->children.push_back(raw);
    m_order.push_back(std::move(node));
    ++m_structureVersion;
    return raw;
}

PatchGenTree::Node* PatchGenTree::ensureRoot()
{
    if (!m_root)
        m_root = make(Kind::Root, nullptr, kRootKey, kRootText);
    return m_root;
}

void PatchGenTree::clear()
{
    m_order.clear();
    m_root = nullptr;
    m_voiceCount = 0;
    ++m_structureVersion;
}

PatchGenTree::Node* PatchGenTree::addFile(const std::string& listKey, const std::string& title)
{
    if (Node* existing = find(listKey)) {
        existing->baseText = title;
        return existing;
    }
    return make(Kind::File, ensureRoot(), listKey, title);
}

void PatchGenTree::removeFile(const std::string& listKey)
{
    Node* node = find(listKey);
    if (node && node->kind == Kind::File)
        removeSubtree(node);
}

PatchGenTree::Node* PatchGenTree::addVoice(const std::string& listKey, long voiceNumber, const std::string& text)
{
    Node* file = find(listKey);
    const std::string key = voiceKey(listKey, voiceNumber);
    if (!file || file->kind != Kind::File || find(key))
        return nullptr;
    Node* voice = make(Kind::Voice, file, key, text);
    Node* ops = make(Kind::Group, voice, "op" + key, "Operator");
    Node* nonOps = make(Kind::Group, voice, "nonop" + key, "Non-Operator");
    std::array<Node*, kOperators> opNodes{};
    for (int n = 1; n <= kOperators; ++n)
        opNodes[static_cast<std::size_t>(n - 1)] =
            make(Kind::Group, ops, "op" + std::to_string(n) + ":" + key, "Operator " + std::to_string(n));
    int g = 0;
    for (int n = 1; n <= kOperators; ++n)
        for (const char* name : kOperatorGroupNames)
            make(Kind::Group, opNodes[static_cast<std::size_t>(n - 1)], "grp" + std::to_string(++g) + ":" + key,
                 name);
    for (const char* name : kVoiceGroupNames)
        make(Kind::Group, nonOps, "grp" + std::to_string(++g) + ":" + key, name);
    ++m_voiceCount;
    return voice;
}

void PatchGenTree::removeVoice(const std::string& voiceKey)
{
    Node* node = find(voiceKey);
    if (node && node->kind == Kind::Voice)
        removeSubtree(node);
}

void PatchGenTree::removeSubtree(Node* node)
{
    std::vector<const Node*> doomed{node};
    for (std::size_t i = 0; i < doomed.size(); ++i)
        for (const Node* child : doomed[i]->children)
            doomed.push_back(child);
    for (const Node* n : doomed)
        if (n->kind == Kind::Voice)
            --m_voiceCount;
    if (node->parent) {
        auto& siblings = node->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
    }
    if (node == m_root)
        m_root = nullptr;
    std::sort(doomed.begin(), doomed.end());
    std::erase_if(m_order, [&](const std::unique_ptr<Node>& n) {
        return std::binary_search(doomed.begin(), doomed.end(), static_cast<const Node*>(n.get()));
    });
    ++m_structureVersion;
}

PatchGenTree::Node* PatchGenTree::find(const std::string& key) const
{
    for (const auto& node : m_order)
        if (node->key == key)
            return node.get();
    return nullptr;
}

long PatchGenTree::indexOf(const Node* node) const
{
    for (std::size_t i = 0; i < m_order.size(); ++i)
        if (m_order[i].get() == node)
            return static_cast<long>(i) + 1;
    return 0;
}

PatchGenTree::Node* PatchGenTree::nodeAt(long index) const
{
    if (index < 1 || index > nodeCount())
        return nullptr;
    return m_order[static_cast<std::size_t>(index - 1)].get();
}

std::vector<PatchGenTree::Node*> PatchGenTree::voices() const
{
    std::vector<Node*> out;
    if (!m_root)
        return out;
    for (Node* file : m_root->children)
        for (Node* voice : file->children)
            if (voice->kind == Kind::Voice)
                out.push_back(voice);
    return out;
}

PatchGenTree::Node* PatchGenTree::groupNode(const Node& voice, int g) const
{
    if (g < 1 || g > kGroupCount)
        return nullptr;
    const long b = indexOf(&voice);
    return b == 0 ? nullptr : nodeAt(b + 8 + g);
}

void PatchGenTree::setSubtree(Node& node, bool checked)
{
    node.checked = checked;
    for (Node* child : node.children)
        setSubtree(*child, checked);
}

void PatchGenTree::setChecked(Node& node, bool checked)
{
    setSubtree(node, checked);
    CheckSiblings(node);
}

void PatchGenTree::CheckSiblings(Node& node)
{
    for (Node* parent = node.parent; parent; parent = parent->parent)
        parent->checked = std::all_of(parent->children.begin(), parent->children.end(),
                                      [](const Node* child) { return child->checked; });
}

bool PatchGenTree::markBase(const Node* base)
{
    bool moved = false;
    for (Node* voice : voices()) {
        const bool wanted = voice == base;
        if (voice->isBase != wanted) {
            voice->isBase = wanted;
            moved = true;
        }
    }
    return moved;
}

std::string PatchGenTree::voiceKey(const std::string& listKey, long voiceNumber)
{
    return listKey + ":" + std::to_string(voiceNumber);
}

bool PatchGenTree::parseVoiceKey(const std::string& key, std::string& listKey, long& voiceNumber)
{
    const auto colon = key.find(':');
    if (colon == std::string::npos || colon == 0 || key.find(':', colon + 1) != std::string::npos)
        return false;
    const char* first = key.data() + colon + 1;
    const char* last = key.data() + key.size();
    long n = 0;
    const auto [end, ec] = std::from_chars(first, last, n);
    if (ec != std::errc() || end != last || first == last || n < 1)
        return false;
    listKey = key.substr(0, colon);
    voiceNumber = n;
    return true;
}

std::string PatchGenTree::voiceText(long voiceNumber, const std::string& name, int algorithm)
{
    std::string padded = name;
    padded.resize(10, ' ');
    return std::to_string(voiceNumber) + " " + padded + " (Alg" + Str(algorithm) + ")";
}

std::string PatchGenTree::groupName(int g)
{
    if (g < 1 || g > kGroupCount)
        return {};
    if (g <= kOperators * kOperatorGroups)
        return kOperatorGroupNames[static_cast<std::size_t>((g - 1) % kOperatorGroups)];
    return kVoiceGroupNames[static_cast<std::size_t>(g - kOperators * kOperatorGroups - 1)];
}

} // namespace toneloft
