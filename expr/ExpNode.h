#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum ExpNodeKind : int {
    EXP_NUMBER = 0,
    EXP_VARIABLE = 1,
    EXP_OPERATOR = 2,
};

// One node of an expression tree: a number or variable leaf, an infix
// operator, a sign, a parenthesis or a function call. A node owns its
// subtree; trees are built once by the parser and never changed.
//
// Trees can be as deep as the text is long (a sum of a million terms is a
// left-deep chain), so copying and destroying walk the tree with an explicit
// work list instead of the call stack.
class CExpNode {
public:
    using Ptr = std::unique_ptr<CExpNode>;
    using ArgList = std::vector<Ptr>;

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

    CExpNode(const CExpNode& other);
    CExpNode& operator=(const CExpNode&) = delete;
    virtual ~CExpNode();

    const std::string& GetText() const { return m_strText; }
    char GetOp() const { return m_chOp; }
    const CExpNode* GetLeft() const { return m_pLeft.get(); }
    const CExpNode* GetRight() const { return m_pRight.get(); }
    const std::string& GetName() const;
    bool IsCall() const { return m_bCall; }
    const ArgList& GetArgs() const;
    bool IsVariable() const { return m_nKind == EXP_VARIABLE; }
    bool IsNumber() const { return m_nKind == EXP_NUMBER; }

private:
    CExpNode() = default;
    static void CopyChildren(const CExpNode& from, CExpNode& to);
    static void FreeChain(Ptr current);

    // What only a call has lives apart, so that the other nodes stay small:
    // a million-term sum is two million nodes.
    struct CallPart {
        std::string m_strName;
        ArgList m_args;
    };

    std::string m_strText;
    std::unique_ptr<CallPart> m_pCall;
    Ptr m_pLeft;
    Ptr m_pRight;
    // A call node's kind is never read; it keeps the operator kind so that a
    // call can never be mistaken for a leaf.
    int m_nKind = EXP_OPERATOR;
    char m_chOp = ' ';
    bool m_bCall = false;
};

// A deep copy of a whole tree (null stays null).
std::unique_ptr<CExpNode> CopyTree(const CExpNode* root);
