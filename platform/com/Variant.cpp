// VARIANT lifetime (init, clear, copy) and conversion between the scalar types and text.
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "platform/com/OleAuto.h"

namespace {

bool IsKnownBaseType(VARTYPE base) {
  switch (base) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_ERROR:
    case VT_BOOL:
    case VT_UNKNOWN:
      return true;
    default:
      return false;
  }
}

bool IsValidType(VARTYPE vt) {
  if (vt & VT_BYREF) {
    const VARTYPE base = vt & ~VT_BYREF;
    return base == VT_VARIANT || (base != VT_EMPTY && base != VT_NULL && IsKnownBaseType(base));
  }
  return IsKnownBaseType(vt);
}

// A source value, read through a by-reference pointer when there is one.
struct Value {
  enum Kind { kEmpty, kNull, kSigned, kUnsigned, kReal, kBool, kText, kError, kUnknown, kDispatch, kOther };
  Kind kind = kEmpty;
  int64_t s = 0;
  uint64_t u = 0;
  double r = 0;
  bool single = false;  // a VT_R4, written with 7 significant digits
  bool b = false;
  BSTR text = nullptr;  // not owned
  IUnknown* unknown = nullptr;
  VARTYPE other = VT_EMPTY;  // for kOther: the type, which converts only to itself
};

std::optional<Value> Read(const VARIANT& v) {
  const bool ref = v.vt & VT_BYREF;
  const VARTYPE base = v.vt & ~VT_BYREF;
  if (ref && base == VT_VARIANT) return v.pvarVal ? Read(*v.pvarVal) : std::nullopt;
  if (ref && !v.byref) return std::nullopt;
  Value out;
  auto setSigned = [&](int64_t x) { out.kind = Value::kSigned, out.s = x; };
  auto setUnsigned = [&](uint64_t x) { out.kind = Value::kUnsigned, out.u = x; };
  switch (base) {
    case VT_EMPTY:
      out.kind = Value::kEmpty;
      break;
    case VT_NULL:
      out.kind = Value::kNull;
      break;
    case VT_I1:
      setSigned(static_cast<signed char>(ref ? *v.pcVal : v.cVal));
      break;
    case VT_I2:
      setSigned(ref ? *v.piVal : v.iVal);
      break;
    case VT_I4:
      setSigned(ref ? *v.plVal : v.lVal);
      break;
    case VT_I8:
      setSigned(ref ? *v.pllVal : v.llVal);
      break;
    case VT_INT:
      setSigned(ref ? *v.pintVal : v.intVal);
      break;
    case VT_UI1:
      setUnsigned(ref ? *v.pbVal : v.bVal);
      break;
    case VT_UI2:
      setUnsigned(ref ? *v.puiVal : v.uiVal);
      break;
    case VT_UI4:
      setUnsigned(ref ? *v.pulVal : v.ulVal);
      break;
    case VT_UI8:
      setUnsigned(ref ? *v.pullVal : v.ullVal);
      break;
    case VT_UINT:
      setUnsigned(ref ? *v.puintVal : v.uintVal);
      break;
    case VT_R4:
      out.kind = Value::kReal, out.r = ref ? *v.pfltVal : v.fltVal, out.single = true;
      break;
    case VT_R8:
      out.kind = Value::kReal, out.r = ref ? *v.pdblVal : v.dblVal;
      break;
    case VT_BOOL:
      out.kind = Value::kBool, out.b = (ref ? *v.pboolVal : v.boolVal) != 0;
      break;
    case VT_BSTR:
      out.kind = Value::kText, out.text = ref ? *v.pbstrVal : v.bstrVal;
      break;
    case VT_ERROR:
      out.kind = Value::kError, out.s = ref ? *v.pscode : v.scode;
      break;
    case VT_UNKNOWN:
      out.kind = Value::kUnknown, out.unknown = ref ? *v.ppunkVal : v.punkVal;
      break;
    case VT_DISPATCH:
      out.kind = Value::kDispatch;
      out.unknown = reinterpret_cast<IUnknown*>(ref ? *v.ppdispVal : v.pdispVal);
      break;
    case VT_DATE:
    case VT_CY:
      out.kind = Value::kOther, out.other = base;
      break;
    default:
      return std::nullopt;
  }
  return out;
}

std::string Trimmed(BSTR text) {
  std::string narrow;
  for (UINT i = 0, n = SysStringLen(text); i < n; ++i) {
    // Numbers and the Boolean words are ASCII; anything else makes the text no number.
    if (text[i] <= 0 || text[i] >= 0x80) return "\x01";
    narrow += static_cast<char>(text[i]);
  }
  const size_t first = narrow.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return narrow.substr(first, narrow.find_last_not_of(" \t") - first + 1);
}

bool EqualsNoCase(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Text as a number: an integer literal stays exact, anything else is a real number.
HRESULT ParseNumber(BSTR bstr, Value& out) {
  const std::string text = Trimmed(bstr);
  if (text.empty()) return DISP_E_TYPEMISMATCH;
  const char* begin = text.data();
  const char* end = begin + text.size();
  const char* digits = begin + ((*begin == '+') ? 1 : 0);
  if (text.find_first_of(".eE") == std::string::npos) {
    if (*digits == '-') {
      int64_t s = 0;
      auto [at, error] = std::from_chars(digits, end, s);
      if (error == std::errc::result_out_of_range) return DISP_E_OVERFLOW;
      if (error != std::errc() || at != end) return DISP_E_TYPEMISMATCH;
      out.kind = Value::kSigned, out.s = s;
    } else {
      uint64_t u = 0;
      auto [at, error] = std::from_chars(digits, end, u);
      if (error == std::errc::result_out_of_range) return DISP_E_OVERFLOW;
      if (error != std::errc() || at != end) return DISP_E_TYPEMISMATCH;
      out.kind = Value::kUnsigned, out.u = u;
    }
    return S_OK;
  }
  double r = 0;
  auto [at, error] = std::from_chars(digits, end, r);
  if (error == std::errc::result_out_of_range) return DISP_E_OVERFLOW;
  if (error != std::errc() || at != end || !std::isfinite(r)) return DISP_E_TYPEMISMATCH;
  out.kind = Value::kReal, out.r = r;
  return S_OK;
}

// The value as an integer (signed or unsigned), real numbers rounded half to even.
HRESULT AsInteger(const Value& in, USHORT flags, Value& out) {
  switch (in.kind) {
    case Value::kEmpty:
      out.kind = Value::kSigned, out.s = 0;
      return S_OK;
    case Value::kSigned:
    case Value::kUnsigned:
      out = in;
      return S_OK;
    case Value::kBool:
      out.kind = Value::kSigned, out.s = in.b ? -1 : 0;
      return S_OK;
    case Value::kReal: {
      const double rounded = std::nearbyint(in.r);
      constexpr double kTwo63 = 9223372036854775808.0;
      if (std::isnan(rounded)) return DISP_E_OVERFLOW;
      if (rounded >= -kTwo63 && rounded < kTwo63) {
        out.kind = Value::kSigned, out.s = static_cast<int64_t>(rounded);
      } else if (rounded >= kTwo63 && rounded < 2 * kTwo63) {
        out.kind = Value::kUnsigned, out.u = static_cast<uint64_t>(rounded);
      } else {
        return DISP_E_OVERFLOW;
      }
      return S_OK;
    }
    case Value::kText: {
      Value number;
      const HRESULT parsed = ParseNumber(in.text, number);
      if (FAILED(parsed)) return parsed;
      return AsInteger(number, flags, out);
    }
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

// Checks that an integer lies in [low, high].
bool InRange(const Value& v, int64_t low, uint64_t high) {
  if (v.kind == Value::kSigned) return v.s >= low && (v.s < 0 || static_cast<uint64_t>(v.s) <= high);
  return v.u <= high;
}

int64_t SignedOf(const Value& v) {
  return v.kind == Value::kSigned ? v.s : static_cast<int64_t>(v.u);
}

HRESULT ToInteger(const Value& in, USHORT flags, VARTYPE type, VARIANT& out) {
  Value n;
  if (in.kind == Value::kError) {
    if (type != VT_I4 && type != VT_UI4 && type != VT_INT && type != VT_UINT) return DISP_E_TYPEMISMATCH;
    n.kind = Value::kSigned, n.s = in.s;
    if (type == VT_UI4 || type == VT_UINT) n.kind = Value::kUnsigned, n.u = static_cast<uint32_t>(in.s);
  } else {
    const HRESULT result = AsInteger(in, flags, n);
    if (FAILED(result)) return result;
  }
  using std::numeric_limits;
  switch (type) {
    case VT_I1:
      if (!InRange(n, numeric_limits<int8_t>::min(), numeric_limits<int8_t>::max())) return DISP_E_OVERFLOW;
      out.cVal = static_cast<CHAR>(SignedOf(n));
      break;
    case VT_I2:
      if (!InRange(n, numeric_limits<int16_t>::min(), numeric_limits<int16_t>::max())) return DISP_E_OVERFLOW;
      out.iVal = static_cast<SHORT>(SignedOf(n));
      break;
    case VT_I4:
    case VT_INT:
    case VT_ERROR:
      if (!InRange(n, numeric_limits<int32_t>::min(), numeric_limits<int32_t>::max())) return DISP_E_OVERFLOW;
      out.lVal = static_cast<LONG>(SignedOf(n));
      break;
    case VT_I8:
      if (!InRange(n, numeric_limits<int64_t>::min(), numeric_limits<int64_t>::max())) return DISP_E_OVERFLOW;
      out.llVal = SignedOf(n);
      break;
    case VT_UI1:
      if (!InRange(n, 0, numeric_limits<uint8_t>::max())) return DISP_E_OVERFLOW;
      out.bVal = static_cast<BYTE>(SignedOf(n));
      break;
    case VT_UI2:
      if (!InRange(n, 0, numeric_limits<uint16_t>::max())) return DISP_E_OVERFLOW;
      out.uiVal = static_cast<USHORT>(SignedOf(n));
      break;
    case VT_UI4:
    case VT_UINT:
      if (!InRange(n, 0, numeric_limits<uint32_t>::max())) return DISP_E_OVERFLOW;
      out.ulVal = static_cast<ULONG>(SignedOf(n));
      break;
    case VT_UI8:
      if (!InRange(n, 0, numeric_limits<uint64_t>::max())) return DISP_E_OVERFLOW;
      out.ullVal = static_cast<uint64_t>(SignedOf(n));
      break;
  }
  out.vt = type;
  return S_OK;
}

HRESULT ToReal(const Value& in, VARTYPE type, VARIANT& out) {
  double r = 0;
  switch (in.kind) {
    case Value::kEmpty:
      break;
    case Value::kSigned:
      r = static_cast<double>(in.s);
      break;
    case Value::kUnsigned:
      r = static_cast<double>(in.u);
      break;
    case Value::kReal:
      r = in.r;
      break;
    case Value::kBool:
      r = in.b ? -1.0 : 0.0;
      break;
    case Value::kText: {
      Value number;
      const HRESULT parsed = ParseNumber(in.text, number);
      if (FAILED(parsed)) return parsed;
      return ToReal(number, type, out);
    }
    default:
      return DISP_E_TYPEMISMATCH;
  }
  if (type == VT_R4) {
    if (std::isfinite(r) && std::fabs(r) > std::numeric_limits<float>::max()) return DISP_E_OVERFLOW;
    out.fltVal = static_cast<float>(r);
  } else {
    out.dblVal = r;
  }
  out.vt = type;
  return S_OK;
}

HRESULT ToBool(const Value& in, VARIANT& out) {
  bool b = false;
  switch (in.kind) {
    case Value::kEmpty:
      break;
    case Value::kSigned:
      b = in.s != 0;
      break;
    case Value::kUnsigned:
      b = in.u != 0;
      break;
    case Value::kReal:
      b = in.r != 0;
      break;
    case Value::kBool:
      b = in.b;
      break;
    case Value::kText: {
      const std::string text = Trimmed(in.text);
      if (EqualsNoCase(text, "true")) {
        b = true;
      } else if (!EqualsNoCase(text, "false")) {
        Value number;
        const HRESULT parsed = ParseNumber(in.text, number);
        if (FAILED(parsed)) return parsed;
        return ToBool(number, out);
      }
      break;
    }
    default:
      return DISP_E_TYPEMISMATCH;
  }
  out.vt = VT_BOOL;
  out.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

std::string FormatReal(double r, bool single) {
  char buffer[64];
  auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, r, std::chars_format::general, single ? 7 : 15);
  std::string text(buffer, error == std::errc() ? end : buffer);
  for (char& c : text)
    if (c == 'e') c = 'E';
  return text;
}

HRESULT ToText(const Value& in, USHORT flags, VARIANT& out) {
  std::string text;
  switch (in.kind) {
    case Value::kEmpty:
      break;
    case Value::kSigned:
      text = std::to_string(in.s);
      break;
    case Value::kUnsigned:
      text = std::to_string(in.u);
      break;
    case Value::kReal:
      text = FormatReal(in.r, in.single);
      break;
    case Value::kBool:
      text = (flags & VARIANT_ALPHABOOL) ? (in.b ? "True" : "False") : (in.b ? "-1" : "0");
      break;
    case Value::kText: {
      BSTR copy = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(in.text), SysStringByteLen(in.text));
      if (!copy) return E_OUTOFMEMORY;
      out.vt = VT_BSTR;
      out.bstrVal = copy;
      return S_OK;
    }
    default:
      return DISP_E_TYPEMISMATCH;
  }
  BSTR bstr = pictavo::com::AllocBstr(text);
  if (!bstr) return E_OUTOFMEMORY;
  out.vt = VT_BSTR;
  out.bstrVal = bstr;
  return S_OK;
}

HRESULT ToInterface(const Value& in, VARTYPE type, VARIANT& out) {
  if (in.kind != Value::kUnknown && in.kind != Value::kDispatch) return DISP_E_TYPEMISMATCH;
  if (!in.unknown) {
    out.vt = type;
    out.punkVal = nullptr;
    return S_OK;
  }
  void* object = nullptr;
  const HRESULT result =
      in.unknown->QueryInterface(type == VT_DISPATCH ? IID_IDispatch : IID_IUnknown, &object);
  if (FAILED(result)) return type == VT_DISPATCH ? DISP_E_TYPEMISMATCH : result;
  out.vt = type;
  if (type == VT_DISPATCH)
    out.pdispVal = static_cast<IDispatch*>(object);
  else
    out.punkVal = static_cast<IUnknown*>(object);
  return S_OK;
}

}  // namespace

void VariantInit(VARIANTARG* variant) {
  if (!variant) return;
  variant->vt = VT_EMPTY;
  variant->wReserved1 = variant->wReserved2 = variant->wReserved3 = 0;
  variant->llVal = 0;
}

HRESULT VariantClear(VARIANTARG* variant) {
  if (!variant) return E_INVALIDARG;
  if (!IsValidType(variant->vt)) return DISP_E_BADVARTYPE;
  if (!(variant->vt & VT_BYREF)) {
    if (variant->vt == VT_BSTR) {
      SysFreeString(variant->bstrVal);
    } else if (variant->vt == VT_UNKNOWN && variant->punkVal) {
      variant->punkVal->Release();
    } else if (variant->vt == VT_DISPATCH && variant->pdispVal) {
      variant->pdispVal->Release();
    }
  }
  variant->vt = VT_EMPTY;
  return S_OK;
}

HRESULT VariantCopy(VARIANTARG* dest, const VARIANTARG* source) {
  if (!dest || !source) return E_INVALIDARG;
  if (dest == source) return S_OK;
  if (!IsValidType(source->vt)) return DISP_E_BADVARTYPE;
  const HRESULT cleared = VariantClear(dest);
  if (FAILED(cleared)) return cleared;
  VARIANT copy = *source;
  if (source->vt == VT_BSTR && source->bstrVal) {
    copy.bstrVal =
        SysAllocStringByteLen(reinterpret_cast<LPCSTR>(source->bstrVal), SysStringByteLen(source->bstrVal));
    if (!copy.bstrVal) return E_OUTOFMEMORY;
  } else if (source->vt == VT_UNKNOWN && source->punkVal) {
    source->punkVal->AddRef();
  } else if (source->vt == VT_DISPATCH && source->pdispVal) {
    source->pdispVal->AddRef();
  }
  *dest = copy;
  return S_OK;
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANTARG* source) {
  if (!dest || !source) return E_INVALIDARG;
  if (!(source->vt & VT_BYREF)) return VariantCopy(dest, source);
  const VARTYPE base = source->vt & ~VT_BYREF;
  if (!IsValidType(source->vt) || !source->byref) return DISP_E_BADVARTYPE;
  if (base == VT_VARIANT) return VariantCopyInd(dest, source->pvarVal);
  VARIANT value;
  VariantInit(&value);
  value.vt = base;
  switch (base) {
    case VT_I1:
      value.cVal = *source->pcVal;
      break;
    case VT_I2:
      value.iVal = *source->piVal;
      break;
    case VT_I4:
      value.lVal = *source->plVal;
      break;
    case VT_I8:
      value.llVal = *source->pllVal;
      break;
    case VT_INT:
      value.intVal = *source->pintVal;
      break;
    case VT_UI1:
      value.bVal = *source->pbVal;
      break;
    case VT_UI2:
      value.uiVal = *source->puiVal;
      break;
    case VT_UI4:
      value.ulVal = *source->pulVal;
      break;
    case VT_UI8:
      value.ullVal = *source->pullVal;
      break;
    case VT_UINT:
      value.uintVal = *source->puintVal;
      break;
    case VT_R4:
      value.fltVal = *source->pfltVal;
      break;
    case VT_R8:
      value.dblVal = *source->pdblVal;
      break;
    case VT_CY:
      value.cyVal = *source->pcyVal;
      break;
    case VT_DATE:
      value.date = *source->pdate;
      break;
    case VT_BOOL:
      value.boolVal = *source->pboolVal;
      break;
    case VT_ERROR:
      value.scode = *source->pscode;
      break;
    case VT_BSTR:
      value.bstrVal = *source->pbstrVal;
      break;
    case VT_UNKNOWN:
      value.punkVal = *source->ppunkVal;
      break;
    case VT_DISPATCH:
      value.pdispVal = *source->ppdispVal;
      break;
  }
  // The plain value borrows the referenced one; VariantCopy makes it dest's own.
  return VariantCopy(dest, &value);
}

HRESULT VariantChangeType(VARIANTARG* dest, const VARIANTARG* source, USHORT flags, VARTYPE type) {
  if (!dest || !source) return E_INVALIDARG;
  if (!IsValidType(source->vt) || (type != VT_EMPTY && !IsKnownBaseType(type))) return DISP_E_BADVARTYPE;
  if (source->vt == type) return VariantCopy(dest, source);
  const std::optional<Value> value = Read(*source);
  if (!value) return DISP_E_BADVARTYPE;

  VARIANT converted;
  VariantInit(&converted);
  HRESULT result = S_OK;
  if (value->kind == Value::kNull) {
    result = type == VT_EMPTY ? S_OK : DISP_E_TYPEMISMATCH;
  } else if (value->kind == Value::kOther) {
    // Dates and currency are carried, not converted.
    result = value->other == type ? VariantCopyInd(&converted, source) : DISP_E_TYPEMISMATCH;
  } else {
    switch (type) {
      case VT_EMPTY:
        break;
      case VT_NULL:
        result = DISP_E_TYPEMISMATCH;
        break;
      case VT_I1:
      case VT_I2:
      case VT_I4:
      case VT_I8:
      case VT_INT:
      case VT_UI1:
      case VT_UI2:
      case VT_UI4:
      case VT_UI8:
      case VT_UINT:
        result = ToInteger(*value, flags, type, converted);
        break;
      case VT_ERROR:
        result = (value->kind == Value::kSigned || value->kind == Value::kUnsigned)
                     ? ToInteger(*value, flags, VT_ERROR, converted)
                     : DISP_E_TYPEMISMATCH;
        break;
      case VT_R4:
      case VT_R8:
        result = ToReal(*value, type, converted);
        break;
      case VT_BOOL:
        result = ToBool(*value, converted);
        break;
      case VT_BSTR:
        result = ToText(*value, flags, converted);
        break;
      case VT_UNKNOWN:
      case VT_DISPATCH:
        result = ToInterface(*value, type, converted);
        break;
      default:
        result = DISP_E_TYPEMISMATCH;
        break;
    }
  }
  if (FAILED(result)) return result;
  // The converted value owns its own copies, so `dest` may be `source`.
  const HRESULT cleared = VariantClear(dest);
  if (FAILED(cleared)) {
    VariantClear(&converted);
    return cleared;
  }
  *dest = converted;
  return S_OK;
}

HRESULT VariantChangeTypeEx(VARIANTARG* dest, const VARIANTARG* source, LCID locale, USHORT flags,
                            VARTYPE type) {
  return VariantChangeType(dest, source, flags, type);
}
