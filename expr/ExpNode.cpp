#include "ExpNode.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

thread_local CExpNodeStore* t_pCurrentStore = nullptr;

// Blocks start small, so that a short expression costs one allocation, and
// double up to a size where the allocator's own overhead no longer counts.
constexpr std::size_t kFirstBlockBytes = 1024;
constexpr std::size_t kLargestBlockBytes = std::size_t{8} << 20;

}  // namespace

struct CExpNodeStore::Block {
    Block* next;
    std::size_t size;
};

CExpNodeStore::CExpNodeStore(std::size_t sizeHint)
    : m_pNext(m_inline),
      m_pEnd(m_inline + sizeof m_inline),
      m_nextBlockSize(std::clamp(sizeHint, kFirstBlockBytes, kLargestBlockBytes)) {}

CExpNodeStore::~CExpNodeStore() {
    while (m_pBlocks) {
        Block* next = m_pBlocks->next;
        ::operator delete(m_pBlocks);
        m_pBlocks = next;
    }
}

void CExpNodeStore::AddBlock(std::size_t atLeast) {
    const std::size_t header =
        (sizeof(Block) + alignof(std::max_align_t) - 1) & ~(alignof(std::max_align_t) - 1);
    const std::size_t size = std::max(m_nextBlockSize, atLeast + header);
    auto* block = static_cast<Block*>(::operator new(size));
    block->next = m_pBlocks;
    block->size = size;
    m_pBlocks = block;
    m_pNext = reinterpret_cast<char*>(block) + header;
    m_pEnd = reinterpret_cast<char*>(block) + size;
    m_nextBlockSize = std::min(m_nextBlockSize * 2, kLargestBlockBytes);
}

void* CExpNodeStore::Allocate(std::size_t bytes, std::size_t alignment) {
    auto aligned = [&] {
        const auto address = reinterpret_cast<std::uintptr_t>(m_pNext);
        return reinterpret_cast<char*>((address + alignment - 1) & ~(alignment - 1));
    };
    char* at = aligned();
    if (at > m_pEnd || static_cast<std::size_t>(m_pEnd - at) < bytes) {
        AddBlock(bytes + alignment);
        at = aligned();
    }
    m_pNext = at + bytes;
    return at;
}

std::string_view CExpNodeStore::Keep(std::string_view text) {
    if (text.empty())
        return {};
    char* copy = static_cast<char*>(Allocate(text.size(), 1));
    std::memcpy(copy, text.data(), text.size());
    return {copy, text.size()};
}

std::string_view CExpNodeStore::KeepSource(std::string_view text, char end) {
    char* copy = static_cast<char*>(Allocate(text.size() + 1, 1));
    if (!text.empty())
        std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = end;
    m_source = {copy, text.size() + 1};
    return m_source;
}

CExpNodeStore::Scope::Scope(CExpNodeStore& store) : m_pPrevious(t_pCurrentStore) {
    t_pCurrentStore = &store;
}

CExpNodeStore::Scope::~Scope() {
    t_pCurrentStore = m_pPrevious;
}

CExpNodeStore* CExpNodeStore::Current() {
    return t_pCurrentStore;
}

void* CExpNode::operator new(std::size_t size) {
    if (CExpNodeStore* store = t_pCurrentStore)
        return store->Allocate(size, alignof(CExpNode));
    return ::operator new(size);
}

void CExpNode::operator delete(void* memory) {
    // Store memory goes back with its store.
    if (!t_pCurrentStore)
        ::operator delete(memory);
}

void CExpNode::operator delete(CExpNode* node, std::destroying_delete_t) {
    if (!node->IsIndependent())
        return;
    // The usual case, a parsed tree whose nodes all live in its store, needs
    // no work list.
    std::vector<CExpNode*> pending;
    node->DetachIndependent(pending);
    Dispose(node);
    DisposeAll(pending);
}

CExpNode::CExpNode(std::string_view text, int kind)
    : m_pLeft(nullptr), m_pRight(nullptr), m_nKind(static_cast<std::uint8_t>(kind)) {
    if (t_pCurrentStore)
        m_nFlags = kInStore;
    SetText(text);
}

CExpNode::CExpNode(Ptr left, char op, Ptr right) : m_pLeft(nullptr), m_pRight(nullptr), m_chOp(op) {
    if (t_pCurrentStore)
        m_nFlags = kInStore;
    SetChildren(left.release(), right.release());
}

CExpNode::CExpNode(Ptr inner, char op) : m_pLeft(nullptr), m_pRight(nullptr), m_chOp(op) {
    if (t_pCurrentStore)
        m_nFlags = kInStore;
    SetChildren(inner.release(), nullptr);
}

CExpNode::CExpNode(char sign, Ptr operand) : m_pLeft(nullptr), m_pRight(nullptr), m_chOp(sign) {
    if (t_pCurrentStore)
        m_nFlags = kInStore;
    SetChildren(nullptr, operand.release());
}

CExpNode::CExpNode(std::string_view name, ArgList args)
    : m_pArgs(nullptr), m_nArgs(0), m_chOp('('), m_bCall(true) {
    CExpNodeStore* store = t_pCurrentStore;
    if (store)
        m_nFlags = kInStore;
    SetText(name);
    if (args.empty())
        return;
    Ptr* array;
    if (store) {
        array = static_cast<Ptr*>(store->Allocate(sizeof(Ptr) * args.size(), alignof(Ptr)));
    } else {
        try {
            array = new Ptr[args.size()];
        } catch (...) {
            if (m_nFlags & kOwnsText)
                delete[] m_pText;
            throw;
        }
        m_nFlags |= kOwnsArgs;
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (store)
            new (&array[i]) Ptr(std::move(args[i]));
        else
            array[i] = std::move(args[i]);
    }
    m_pArgs = array;
    m_nArgs = args.size();
}

CExpNode::CExpNode(const CExpNode& other)
    : m_pLeft(nullptr),
      m_pRight(nullptr),
      m_nKind(other.m_nKind),
      m_chOp(other.m_chOp),
      m_bCall(other.m_bCall) {
    if (t_pCurrentStore)
        m_nFlags = kInStore;
    SetText(other.Text());
    try {
        CopySubtree(other);
    } catch (...) {
        std::vector<CExpNode*> pending;
        DetachIndependent(pending);
        DisposeAll(pending);
        delete m_pStore;
        if (m_nFlags & kOwnsText)
            delete[] m_pText;
        throw;
    }
}

CExpNode::~CExpNode() {
    // Only a node that is not deleted through its pointer (one made on the
    // stack or as a member) gets here: deleting runs Dispose instead.
    std::vector<CExpNode*> pending;
    DetachIndependent(pending);
    DisposeAll(pending);
    if (m_nFlags & kOwnsArgs)
        delete[] m_pArgs;
    if (m_nFlags & kOwnsText)
        delete[] m_pText;
    delete m_pStore;
}

void CExpNode::SetText(std::string_view text) {
    m_nTextLength = static_cast<std::uint32_t>(text.size());
    if (text.empty())
        return;
    if (CExpNodeStore* store = t_pCurrentStore) {
        m_pText = store->HoldsSource(text) ? text.data() : store->Keep(text).data();
        return;
    }
    char* copy = new char[text.size()];
    std::memcpy(copy, text.data(), text.size());
    m_pText = copy;
    m_nFlags |= kOwnsText;
}

void CExpNode::SetChildren(CExpNode* left, CExpNode* right) {
    m_pLeft = left;
    m_pRight = right;
}

CExpNode::ArgSpan CExpNode::GetArgs() const {
    if (!m_bCall || !m_pArgs)
        return {};
    return {m_pArgs, m_nArgs};
}

void CExpNode::AdoptStore(CExpNode& root, std::unique_ptr<CExpNodeStore> store) {
    delete root.m_pStore;
    root.m_pStore = store.release();
}

void CExpNode::DetachIndependent(std::vector<CExpNode*>& out) {
    if (m_bCall) {
        for (std::size_t i = 0; i < m_nArgs; ++i) {
            // Only a heap array may be changed: a store's is never freed.
            if (m_pArgs[i] && m_pArgs[i]->IsIndependent())
                out.push_back(const_cast<Ptr&>(m_pArgs[i]).release());
        }
        return;
    }
    for (CExpNode** child : {&m_pLeft, &m_pRight}) {
        if (*child && (*child)->IsIndependent())
            out.push_back(std::exchange(*child, nullptr));
    }
}

void CExpNode::Dispose(CExpNode* node) {
    if (node->m_nFlags & kOwnsArgs)
        delete[] node->m_pArgs;
    if (node->m_nFlags & kOwnsText)
        delete[] node->m_pText;
    CExpNodeStore* store = node->m_pStore;
    if (!(node->m_nFlags & kInStore))
        ::operator delete(node);
    // A root that adopted its store lives in it.
    delete store;
}

void CExpNode::DisposeAll(std::vector<CExpNode*>& pending) {
    while (!pending.empty()) {
        CExpNode* node = pending.back();
        pending.pop_back();
        node->DetachIndependent(pending);
        Dispose(node);
    }
}

// Copies the subtrees below `from`, one node at a time from a work list,
// into the current store, or else into a store of this node's own.
void CExpNode::CopySubtree(const CExpNode& from) {
    const bool hasChildren = from.m_bCall ? from.m_nArgs > 0 : (from.m_pLeft || from.m_pRight);
    if (!hasChildren)
        return;
    std::unique_ptr<CExpNodeStore> ownStore;
    if (!t_pCurrentStore)
        ownStore = std::make_unique<CExpNodeStore>();
    CExpNodeStore& store = t_pCurrentStore ? *t_pCurrentStore : *ownStore;
    CExpNodeStore::Scope scope(store);
    struct Pending {
        const CExpNode* source;
        CExpNode* copy;
    };
    std::vector<Pending> pending;
    auto shallowCopy = [&pending](const CExpNode& source) {
        // Children and arguments are filled in when the copy's turn comes.
        Ptr copy(source.m_bCall ? new CExpNode(source.Text(), ArgList())
                                : new CExpNode(source.Text(), source.m_nKind));
        copy->m_chOp = source.m_chOp;
        copy->m_nKind = source.m_nKind;
        pending.push_back({&source, copy.get()});
        return copy.release();
    };
    pending.push_back({&from, this});
    while (!pending.empty()) {
        const auto [source, copy] = pending.back();
        pending.pop_back();
        if (source->m_bCall) {
            if (source->m_nArgs == 0)
                continue;
            Ptr* array =
                static_cast<Ptr*>(store.Allocate(sizeof(Ptr) * source->m_nArgs, alignof(Ptr)));
            for (std::size_t i = 0; i < source->m_nArgs; ++i)
                new (&array[i])
                    Ptr(source->m_pArgs[i] ? shallowCopy(*source->m_pArgs[i]) : nullptr);
            if (copy == this && (m_nFlags & kOwnsArgs))
                delete[] m_pArgs;
            copy->m_pArgs = array;
            copy->m_nArgs = source->m_nArgs;
            if (copy == this)
                m_nFlags &= static_cast<std::uint8_t>(~kOwnsArgs);
            continue;
        }
        if (source->m_pLeft)
            copy->m_pLeft = shallowCopy(*source->m_pLeft);
        if (source->m_pRight)
            copy->m_pRight = shallowCopy(*source->m_pRight);
    }
    if (ownStore) {
        delete m_pStore;
        m_pStore = ownStore.release();
    }
}

std::unique_ptr<CExpNode> CopyTree(const CExpNode* root) {
    if (!root)
        return nullptr;
    auto store = std::make_unique<CExpNodeStore>();
    std::unique_ptr<CExpNode> copy;
    {
        CExpNodeStore::Scope scope(*store);
        copy.reset(new CExpNode(*root));
    }
    CExpNode::AdoptStore(*copy, std::move(store));
    return copy;
}
