#pragma once
// The one function through which every member of the page's objects is reached: property get,
// property put and method call by name, with names resolved without regard to case, and the
// older object model the workflows were written for on top of the standard one:
//   all / all.tags(tag) / all.item(i)  the element collections
//   form.item(name) / item(name, i)    a named element of a form, the i-th of a same-named group
//   getAttribute(name)                 the property of that name where there is one ("style"
//                                      gives the style object), else the attribute, else null
//   focus() on a file input            focuses the text part in front of its button
//   op "form" / "formitem" on the       all.tags("form").item(i), and then its item(name[, index]):
//   document                           the steps of form addressing in one call, null where a
//                                      step is null
//   op "formget" / "formput"           the same element's property read, or written (true when
//   [form, property, value, index]     written), in the same call: no handle to the element
// An unknown name throws an error whose message starts with the marker below.
#include <QString>

namespace zk::chromium {

inline const QString UnknownNameMarker = QStringLiteral("ZK-UNKNOWN-NAME:");
// Thrown by the short call when the document does not hold the page script yet.
inline const QString MissingScriptMarker = QStringLiteral("ZK-NO-PAGE-SCRIPT");

inline const QString PageScript = QStringLiteral(R"JS(function(op, name, args) {
  args = args.map(function(a) { return a && a.__zkEmpty === 1 ? undefined : a; });
  var invoke = function(t, op, name, args) {
  var unknown = function() { throw new Error('ZK-UNKNOWN-NAME:' + name); };
  var lname = String(name).toLowerCase();
  var key = function(obj, n) {
    if (obj === null || obj === undefined) return null;
    if (n in Object(obj)) return n;
    var l = String(n).toLowerCase();
    for (var p = Object(obj); p; p = Object.getPrototypeOf(p)) {
      var ks = Object.getOwnPropertyNames(p);
      for (var i = 0; i < ks.length; i++) if (ks[i].toLowerCase() === l) return ks[i];
    }
    return null;
  };
  var out = function(v) { return v === undefined ? undefined : v; };
  if (t && t.__zkAllOf) {
    var base = t.__zkAllOf;
    if (op === 'call' && lname === 'tags') return base.getElementsByTagName(String(args[0]));
    if (op === 'call' && lname === 'item') {
      var every = base.getElementsByTagName('*');
      if (typeof args[0] === 'number') return every[args[0]] || null;
      return every.namedItem(String(args[0]));
    }
    if (op === 'get' && lname === 'length') return base.getElementsByTagName('*').length;
    unknown();
  }
  if (op === 'get') {
    if (lname === 'all' && t && (t.nodeType === 9 || t.nodeType === 1)) return { __zkAllOf: t };
    var k = key(t, name);
    if (k === null) unknown();
    return out(t[k]);
  }
  if (op === 'put') {
    var pk = key(t, name);
    t[pk === null ? name : pk] = args[0];
    return undefined;
  }
  if (lname === 'item' && t instanceof HTMLFormElement) {
    var a = args[0];
    var found = typeof a === 'number' ? t.elements[a] : t.elements.namedItem(String(a));
    if (found === undefined) found = null;
    if (args.length > 1 && found !== null) {
      if (found instanceof RadioNodeList) found = found[args[1]] || null;
      else if (args[1] !== 0) found = null;
    }
    return found;
  }
  if (lname === 'getattribute' && t && t.nodeType === 1) {
    var an = String(args[0]);
    if (an.toLowerCase() === 'style') return t.style;
    var ak = key(t, an);
    if (ak !== null) {
      var v = t[ak];
      if (typeof v === 'string' || typeof v === 'number' || typeof v === 'boolean') return v;
    }
    return t.getAttribute(an);
  }
  if (lname === 'focus' && t instanceof HTMLInputElement && t.type === 'file') {
    // The file control has a text part before its button: Tab from it reaches the button.
    var part = document.createElement('span');
    part.tabIndex = 0;
    part.style.cssText = 'position:absolute;width:0;height:0;overflow:hidden';
    part.addEventListener('blur', function() { part.remove(); });
    t.parentNode.insertBefore(part, t);
    part.focus();
    return undefined;
  }
  var mk = key(t, name);
  if (mk === null || typeof t[mk] !== 'function') unknown();
  return out(t[mk].apply(t, args));
  };
  if (op === 'form' || op === 'formitem' || op === 'formget' || op === 'formput') {
    var forms = invoke(invoke(this, 'get', 'all', []), 'call', 'tags', ['form']);
    if (forms === null) return null;
    var form = invoke(forms, 'call', 'item', [args[0]]);
    if (form === null || op === 'form') return form;
    if (op === 'formitem') return invoke(form, 'call', 'item', args.length > 1 ? [name, args[1]] : [name]);
    var element = invoke(form, 'call', 'item', args.length > 3 ? [name, args[3]] : [name]);
    if (element === null) return null;
    if (op === 'formget') return invoke(element, 'get', args[1], []);
    invoke(element, 'put', args[1], [args[2]]);
    return true;
  }
  return invoke(this, op, name, args);
})JS");

} // namespace zk::chromium
