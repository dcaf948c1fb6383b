#include "framework/CObject.h"

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject != nullptr ? m_pfnCreateObject() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* pClass = this; pClass != nullptr;
         pClass = pClass->m_pfnGetBaseClass != nullptr ? pClass->m_pfnGetBaseClass() : nullptr)
    {
        if (pClass == pBaseClass)
            return true;
    }
    return false;
}

const CRuntimeClass* CObject::GetThisClass()
{
    static const CRuntimeClass s_class = {"CObject", static_cast<int>(sizeof(CObject)), nullptr,
                                          nullptr};
    return &s_class;
}

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return GetThisClass();
}
