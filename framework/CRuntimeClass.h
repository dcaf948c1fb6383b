// Run-time class information: a record per class with its name, its base and a factory, so that
// code can ask whether an object is of a given class or derived from it.
#pragma once

class CObject;

struct CRuntimeClass
{
    const char* m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* (*m_pfnGetBaseClass)();

    // A new default-constructed object of the class, or null when the class has no factory.
    CObject* CreateObject() const;
    bool IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

// The macros are laid out by hand, one table entry or declaration per line.
// clang-format off
#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static const CRuntimeClass* GetThisClass();                                                    \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, pfnNew)                               \
    const CRuntimeClass* class_name::GetThisClass()                                                \
    {                                                                                              \
        static const CRuntimeClass s_class = {#class_name, static_cast<int>(sizeof(class_name)),   \
                                              pfnNew, &base_class_name::GetThisClass};             \
        return &s_class;                                                                           \
    }                                                                                              \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return GetThisClass(); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CObject* class_name::CreateObject() { return new class_name; }                                 \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, &class_name::CreateObject)
// clang-format on
