// The root of the framework's classes that carry run-time class information.
#pragma once

#include "framework/CRuntimeClass.h"

class CObject
{
public:
    virtual ~CObject() = default;

    static const CRuntimeClass* GetThisClass();
    virtual const CRuntimeClass* GetRuntimeClass() const;

    bool IsKindOf(const CRuntimeClass* pClass) const
    {
        return GetRuntimeClass()->IsDerivedFrom(pClass);
    }
};
