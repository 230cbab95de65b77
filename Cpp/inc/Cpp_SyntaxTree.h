// Every node class of the C++ syntax tree and the emitter interface.
#ifndef CPP_SYNTAXTREE_H
#define CPP_SYNTAXTREE_H

#include "Cpp_CompositeNode.h"
#include "Cpp_Emitter.h"
#include "Cpp_InteriorNode.h"
#include "Cpp_LeafNode.h"

#endif
