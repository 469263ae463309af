#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace toneloft {

// The patch generator's tree of check boxes: the root ("Root", "Files"), a node
// per open voice list (keyed by the list's ID), the source voices below their
// list (keyed "L0001:5"), and below each voice its parameter groups.
//
// Nodes keep the order they were made in, as their index (1-based). A voice's
// subtree is made in one go, in this order: the voice, "Operator",
// "Non-Operator", "Operator 1" .. "Operator 6", the six groups of operator 1,
// of operator 2 ... of operator 6, then the seven voice-wide groups. So the box
// of group g (1..43) of a voice with index b is the node with index b + 8 + g.
class PatchGenTree {
public:
    enum class Kind { Root, File, Voice, Group };

    struct Node {
        Kind kind = Kind::Group;
        std::string key;
        std::string baseText; // the text without the base marker
        bool checked = false;
        bool isBase = false;
        Node* parent = nullptr;
        std::vector<Node*> children;

        std::string text() const { return isBase ? baseText + kBaseMarker : baseText; }
    };

    static constexpr const char* kRootKey = "Root";
    static constexpr const char* kRootText = "Files";
    static constexpr const char* kBaseMarker = " BASE";
    static constexpr int kGroupCount = 43;
    static constexpr int kOperatorGroups = 6; // per operator
    static constexpr int kMaxVoices = 10;

    PatchGenTree() = default;
    PatchGenTree(const PatchGenTree&) = delete;
    PatchGenTree& operator=(const PatchGenTree&) = delete;

    // --- structure -------------------------------------------------------------
    Node* root() const { return m_root; }
    Node* ensureRoot();
    // Removes the root and everything below it.
    void clear();
    // A list's node under the root (made when missing); the text is updated.
    Node* addFile(const std::string& listKey, const std::string& title);
    void removeFile(const std::string& listKey);
    // A voice node under its list's node, with its group subtree, unticked.
    // nullptr when the list has no node or the voice is there already.
    Node* addVoice(const std::string& listKey, long voiceNumber, const std::string& text);
    void removeVoice(const std::string& voiceKey);

    Node* find(const std::string& key) const;
    // 1-based index in the order of making; 0 for a node not in the tree.
    long indexOf(const Node* node) const;
    // The node of a 1-based index; nullptr outside.
    Node* nodeAt(long index) const;
    long nodeCount() const { return static_cast<long>(m_order.size()); }
    // Voices in the order shown (lists in order, voices in order below each).
    std::vector<Node*> voices() const;
    long voiceCount() const { return m_voiceCount; }
    // The box of group g (1..43) of a voice: node index(voice) + 8 + g.
    Node* groupNode(const Node& voice, int g) const;

    // --- ticks -----------------------------------------------------------------
    // Ticks or clears a node's whole subtree, then brings its ancestors in step.
    void setChecked(Node& node, bool checked);
    // Sets the parent's box ticked when all its children are ticked, cleared
    // otherwise, and so on up to the root.
    void CheckSiblings(Node& node);
    // Marks the first voice in the given list as the base (" BASE" after its text)
    // and no other. True when a marker moved.
    bool markBase(const Node* base);

    // --- keys and texts ----------------------------------------------------------
    static std::string voiceKey(const std::string& listKey, long voiceNumber);
    // Splits "L0001:5"; false when the key is not a voice key.
    static bool parseVoiceKey(const std::string& key, std::string& listKey, long& voiceNumber);
    // "5 E.PIANO 1  (Alg 5)": the number, the ten name characters and the
    // algorithm 1..32.
    static std::string voiceText(long voiceNumber, const std::string& name, int algorithm);
    // "EG Rate", "Algorithm" ... for g 1..43; "" outside.
    static std::string groupName(int g);

    // Counts changes of structure (nodes added or removed), so a view knows
    // when to rebuild rather than repaint.
    std::uint64_t structureVersion() const { return m_structureVersion; }

private:
    Node* make(Kind kind, Node* parent, std::string key, std::string text);
    void removeSubtree(Node* node);
    static void setSubtree(Node& node, bool checked);

    std::vector<std::unique_ptr<Node>> m_order; // order of making
    Node* m_root = nullptr;
    long m_voiceCount = 0;
    std::uint64_t m_structureVersion = 0;
};

} // namespace toneloft
