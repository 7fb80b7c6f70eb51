#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <span>
#include <string_view>
#include <vector>

enum ExpNodeKind : int {
    EXP_NUMBER = 0,
    EXP_VARIABLE = 1,
    EXP_OPERATOR = 2,
};

// Memory for the nodes of one tree and their texts, taken in large blocks
// and given back all at once. A parse makes two nodes per term of a sum; one
// allocation each would cost more than the parse itself, and freeing them
// one by one again as much.
//
// While a CExpNodeStore::Scope is open on a thread, every node made there
// lives in that store; the tree's root then takes the store over (AdoptStore)
// and frees it with itself.
class CExpNodeStore {
  public:
    // `sizeHint`: about how many bytes the tree will need.
    explicit CExpNodeStore(std::size_t sizeHint = 0);
    ~CExpNodeStore();
    CExpNodeStore(const CExpNodeStore&) = delete;
    CExpNodeStore& operator=(const CExpNodeStore&) = delete;

    void* Allocate(std::size_t bytes, std::size_t alignment);
    // A copy of `text` that lives as long as the store.
    std::string_view Keep(std::string_view text);
    // Keeps the source text a tree is read from, followed by `end`; the
    // nodes then view their texts in it without a copy of their own.
    std::string_view KeepSource(std::string_view text, char end);
    bool HoldsSource(std::string_view text) const {
        return !text.empty() && text.data() >= m_source.data() &&
               text.data() + text.size() <= m_source.data() + m_source.size();
    }

    // Makes `store` the home of the nodes made on this thread until the
    // scope closes.
    class Scope {
      public:
        explicit Scope(CExpNodeStore& store);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        CExpNodeStore* m_pPrevious;
    };
    static CExpNodeStore* Current();

  private:
    struct Block;
    void AddBlock(std::size_t atLeast);

    Block* m_pBlocks = nullptr;
    char* m_pNext;
    char* m_pEnd;
    std::size_t m_nextBlockSize;
    std::string_view m_source;
    // The tree of a short expression needs no block at all.
    alignas(std::max_align_t) char m_inline[768];
};

// One node of an expression tree: a number or variable leaf, an infix
// operator, a sign, a parenthesis or a function call. A node owns its
// subtree; trees are built once by the parser and never changed.
//
// Nodes made inside a CExpNodeStore::Scope (every tree the parser and
// CopyTree make) live in that store: deleting one of them frees nothing,
// deleting the root that adopted the store frees the whole tree at once,
// however deep it is. Nodes made elsewhere are ordinary heap objects that
// own their texts and children; freeing such a tree walks it with a work
// list instead of the call stack.
class CExpNode {
  public:
    using Ptr = std::unique_ptr<CExpNode>;
    // The arguments as the call constructor takes them.
    using ArgList = std::vector<Ptr>;
    // The arguments as a call node holds them.
    using ArgSpan = std::span<const Ptr>;

    // Leaf: a number literal (EXP_NUMBER) or a variable name (EXP_VARIABLE).
    CExpNode(std::string_view text, int kind);
    // Infix operator.
    CExpNode(Ptr left, char op, Ptr right);
    // Parenthesis: the inner expression in the left child.
    CExpNode(Ptr inner, char op);
    // Sign ('+' or '-') applied to the operand in the right child.
    CExpNode(char sign, Ptr operand);
    // Function call with its arguments in source order.
    CExpNode(std::string_view name, ArgList args);

    // A deep copy of `other`'s subtree, whose nodes live in the current
    // store, or else in a store of this node's own.
    CExpNode(const CExpNode& other);
    CExpNode& operator=(const CExpNode&) = delete;
    ~CExpNode();

    static void* operator new(std::size_t size);
    // Frees the memory of a node whose constructor threw.
    static void operator delete(void* memory);
    // Deleting a node: see the class comment.
    static void operator delete(CExpNode* node, std::destroying_delete_t);

    // Leaves hold their text, calls their name; other nodes neither.
    std::string_view GetText() const { return IsCall() ? std::string_view() : Text(); }
    char GetOp() const { return m_chOp; }
    const CExpNode* GetLeft() const { return m_bCall ? nullptr : m_pLeft; }
    const CExpNode* GetRight() const { return m_bCall ? nullptr : m_pRight; }
    std::string_view GetName() const { return IsCall() ? Text() : std::string_view(); }
    bool IsCall() const { return m_bCall; }
    ArgSpan GetArgs() const;
    bool IsVariable() const { return m_nKind == EXP_VARIABLE; }
    bool IsNumber() const { return m_nKind == EXP_NUMBER; }

    // Hands `store`, in which `root` and its whole subtree were made, over
    // to `root`: deleting root frees it.
    static void AdoptStore(CExpNode& root, std::unique_ptr<CExpNodeStore> store);

  private:
    enum Flags : std::uint8_t {
        kInStore = 1,   // the node's memory belongs to a store
        kOwnsText = 2,  // m_pText was allocated for this node alone
        kOwnsArgs = 4,  // m_pArgs was allocated for this node alone
    };

    std::string_view Text() const { return {m_pText, m_nTextLength}; }
    void SetText(std::string_view text);
    void SetChildren(CExpNode* left, CExpNode* right);
    // Whether deleting this node has anything to free: a heap node, or the
    // root of a store.
    bool IsIndependent() const { return !(m_nFlags & kInStore) || m_pStore; }
    // Moves the children that must be freed on their own to `out`.
    void DetachIndependent(std::vector<CExpNode*>& out);
    // Frees what this node holds besides its children, and the node itself
    // when it is a heap node.
    static void Dispose(CExpNode* node);
    // Frees independent nodes and every independent node below them.
    static void DisposeAll(std::vector<CExpNode*>& pending);
    void CopySubtree(const CExpNode& from);

    const char* m_pText = nullptr;
    // A call's arguments take the place of its children.
    union {
        CExpNode* m_pLeft;
        const Ptr* m_pArgs;
    };
    union {
        CExpNode* m_pRight;
        std::size_t m_nArgs;
    };
    CExpNodeStore* m_pStore = nullptr;  // owned; set on a root that adopted its store
    std::uint32_t m_nTextLength = 0;
    // A call node's kind is never read; it keeps the operator kind so that a
    // call can never be mistaken for a leaf.
    std::uint8_t m_nKind = EXP_OPERATOR;
    char m_chOp = ' ';
    bool m_bCall = false;
    std::uint8_t m_nFlags = 0;
};

// A deep copy of a whole tree in a store of its own (null stays null).
std::unique_ptr<CExpNode> CopyTree(const CExpNode* root);
