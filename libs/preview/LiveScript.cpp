// The live preview's script. It runs in a world of its own (never the
// page's): the page's script cannot see its functions, the offsets it keeps
// or the bridge it talks to the program through, and cannot call them.
#include "libs/preview/LiveView.h"

namespace vlr::preview {

// window.__veloraLive (in this world only):
//   update(html, serial, labelOnly): `html` is the built page with every
//     start tag carrying its output offset (data-vlr-at). labelOnly: the
//     shown page is that text already (just loaded); only the offsets are
//     taken. Otherwise the shown page is changed in place to match it: nodes
//     that stay keep their state (scroll position, what the user typed into
//     a form), changed text and attributes are set, new nodes inserted, gone
//     ones removed. The bridge hears shown(serial) once the change is painted.
//   patch(start, oldEnd, newEnd, html, serial): the same for one element
//     (PatchBetween): only it is changed; false when it cannot be.
//   reveal(offset): marks the element built from the output at `offset` and
//     scrolls it into view when it is out of view.
// A click reports the offset of the element clicked (bridge.pick); links and
// submit buttons do not act, so that the pane keeps showing the page.
const char* const kLiveScript = R"JS(
(function () {
  if (window.__veloraLive) return;
  var offsets = new WeakMap();
  var ordered = [];
  var bridge = null;
  var waiting = [];
  var markHost = null, markBox = null, marked = null;
  new QWebChannel(qt.webChannelTransport, function (channel) {
    bridge = channel.objects.velora;
    for (var i = 0; i < waiting.length; ++i) waiting[i]();
    waiting = [];
  });
  function tell(fn) { if (bridge) fn(); else waiting.push(fn); }

  function take(el) {
    var v = el.getAttribute('data-vlr-at');
    if (v === null) return;
    el.removeAttribute('data-vlr-at');
    return +v;
  }
  function remember(live, fresh) {
    var at = take(fresh);
    if (at !== undefined) offsets.set(live, at); else offsets.delete(live);
  }
  // A node brought over whole: its elements keep their offsets.
  function adopt(fresh) {
    var node = document.importNode(fresh, true);
    if (node.nodeType !== 1) return node;
    var all = [node].concat(Array.prototype.slice.call(node.getElementsByTagName('*')));
    for (var i = 0; i < all.length; ++i) {
      var at = take(all[i]);
      if (at !== undefined) offsets.set(all[i], at);
    }
    return node;
  }
  function same(a, b) {
    if (a.nodeType !== b.nodeType) return false;
    if (a.nodeType === 1) return a.namespaceURI === b.namespaceURI && a.localName === b.localName;
    return true;
  }
  // Contents the two trees cannot share: what the live page's parser kept
  // as text (a copy parsed here runs no script, so it reads "noscript" as
  // elements) and template contents, which are no children.
  function opaque(el) {
    var n = el.localName;
    return n === 'noscript' || n === 'template';
  }
  function syncAttributes(live, fresh, labelOnly) {
    remember(live, fresh);
    if (labelOnly) return;
    var i, a;
    for (i = live.attributes.length - 1; i >= 0; --i) {
      a = live.attributes[i];
      if (!fresh.hasAttributeNS(a.namespaceURI, a.localName)) live.removeAttributeNS(a.namespaceURI, a.localName);
    }
    for (i = 0; i < fresh.attributes.length; ++i) {
      a = fresh.attributes[i];
      if (live.getAttributeNS(a.namespaceURI, a.localName) !== a.value) {
        if (a.namespaceURI) live.setAttributeNS(a.namespaceURI, a.name, a.value);
        else live.setAttribute(a.name, a.value);
      }
    }
  }
  function morph(live, fresh, labelOnly) {
    if (live.nodeType !== 1) {
      if (!labelOnly && (live.nodeType === 3 || live.nodeType === 8) && live.data !== fresh.data)
        live.data = fresh.data;
      return;
    }
    syncAttributes(live, fresh, labelOnly);
    if (opaque(live)) return;
    morphChildren(live, fresh, labelOnly);
  }
  function morphChildren(liveParent, freshParent, labelOnly) {
    var l = liveParent.firstChild, f = freshParent.firstChild, next;
    while (f) {
      var nextF = f.nextSibling;
      while (l && l === markHost) l = l.nextSibling;
      if (l && same(l, f)) {
        morph(l, f, labelOnly);
        l = l.nextSibling;
      } else if (labelOnly) {
        // The page's own script changed the tree: what is left stays as it is.
        if (!l) break;
        l = l.nextSibling;
        continue;
      } else if (!l) {
        liveParent.appendChild(adopt(f));
      } else if (l.nextSibling && l.nextSibling !== markHost && same(l.nextSibling, f) &&
                 !(nextF && same(l, nextF))) {
        // A node went: remove it and match this one with the next.
        next = l.nextSibling;
        liveParent.removeChild(l);
        l = next;
        continue;
      } else if (nextF && same(l, nextF)) {
        // A node came: insert it before the one that stays.
        liveParent.insertBefore(adopt(f), l);
      } else {
        var node = adopt(f);
        liveParent.replaceChild(node, l);
        l = node.nextSibling;
      }
      f = nextF;
    }
    if (labelOnly) return;
    while (l) {
      next = l.nextSibling;
      if (l !== markHost) liveParent.removeChild(l);
      l = next;
    }
  }
  function collect() {
    ordered = [];
    var all = document.getElementsByTagName('*');
    for (var i = 0; i < all.length; ++i) {
      var at = offsets.get(all[i]);
      if (at !== undefined) ordered.push([at, all[i]]);
    }
    ordered.sort(function (a, b) { return a[0] - b[0]; });
  }
  function update(html, serial, labelOnly) {
    var fresh = new DOMParser().parseFromString(html, 'text/html');
    if (document.documentElement && fresh.documentElement) {
      morph(document.documentElement, fresh.documentElement, labelOnly);
    }
    collect();
    finish(serial);
  }

  // The element whose start tag is at `offset`, by its place in `ordered`; -1 when none.
  function indexAt(offset) {
    var lo = 0, hi = ordered.length - 1;
    while (lo <= hi) {
      var mid = (lo + hi) >> 1;
      if (ordered[mid][0] === offset) return mid;
      if (ordered[mid][0] < offset) lo = mid + 1; else hi = mid - 1;
    }
    return -1;
  }
  // Replaces the element at `start` (its old text ending at oldEnd) by `html`,
  // its new text, changing it in place; the elements after it move by the
  // difference. False, with nothing changed, when the element is not there
  // as expected: the caller shows the whole page again.
  function patch(start, oldEnd, newEnd, html, serial) {
    var at = indexAt(start);
    if (at < 0) return false;
    var live = ordered[at][1];
    if (!live.isConnected) return false;
    var holder = document.createElement('template');
    holder.innerHTML = html;
    var fresh = holder.content.firstChild;
    if (!fresh || holder.content.childNodes.length !== 1 || !same(live, fresh)) return false;
    var end = at;
    while (end < ordered.length && ordered[end][0] < oldEnd) ++end;
    var after = ordered.slice(end), delta = newEnd - oldEnd;
    if (delta !== 0)
      for (var i = 0; i < after.length; ++i) {
        after[i][0] += delta;
        offsets.set(after[i][1], after[i][0]);
      }
    morph(live, fresh, false);
    var inside = [], all = [live].concat(Array.prototype.slice.call(live.getElementsByTagName('*')));
    for (var k = 0; k < all.length; ++k) {
      var o = offsets.get(all[k]);
      if (o !== undefined) inside.push([o, all[k]]);
    }
    inside.sort(function (a, b) { return a[0] - b[0]; });
    ordered = ordered.slice(0, at).concat(inside, after);
    finish(serial);
    return true;
  }
  function finish(serial) {
    if (marked && !marked.isConnected) marked = null;
    placeMark();
    requestAnimationFrame(function () {
      setTimeout(function () { tell(function () { bridge.shown(serial); }); }, 0);
    });
  }

  function ensureMark() {
    if (markHost && markHost.isConnected) return;
    markHost = document.createElement('velora-mark');
    markHost.setAttribute('style', 'all: initial; position: absolute; left: 0; top: 0; width: 0; height: 0; ' +
                          'pointer-events: none; z-index: 2147483647;');
    var root = markHost.attachShadow({ mode: 'closed' });
    markBox = document.createElement('div');
    markBox.setAttribute('style', 'position: absolute; display: none; box-sizing: border-box; ' +
                         'outline: 2px solid rgba(26, 115, 232, 0.9); background: rgba(26, 115, 232, 0.12); ' +
                         'pointer-events: none;');
    root.appendChild(markBox);
    document.documentElement.appendChild(markHost);
  }
  function boxOf(el) {
    for (var e = el; e && e.nodeType === 1; e = e.parentElement) {
      var r = e.getBoundingClientRect();
      if (r.width > 0 || r.height > 0) return { el: e, rect: r };
    }
    return null;
  }
  function placeMark() {
    if (!marked) { if (markBox) markBox.style.display = 'none'; return; }
    ensureMark();
    var box = boxOf(marked);
    if (!box) { markBox.style.display = 'none'; return; }
    var r = box.rect;
    markBox.style.left = (r.left + window.scrollX) + 'px';
    markBox.style.top = (r.top + window.scrollY) + 'px';
    markBox.style.width = r.width + 'px';
    markBox.style.height = r.height + 'px';
    markBox.style.display = 'block';
  }
  function elementAt(offset) {
    var lo = 0, hi = ordered.length - 1, found = -1;
    while (lo <= hi) {
      var mid = (lo + hi) >> 1;
      if (ordered[mid][0] <= offset) { found = mid; lo = mid + 1; } else hi = mid - 1;
    }
    if (found < 0) return null;
    for (var i = found; i >= 0; --i)
      if (ordered[i][1].isConnected && document.body && document.body.contains(ordered[i][1])) return ordered[i][1];
    return null;
  }
  function reveal(offset) {
    marked = elementAt(offset);
    placeMark();
    var box = marked && boxOf(marked);
    if (!box) return;
    var r = box.rect;
    if (r.bottom < 0 || r.top > window.innerHeight || r.right < 0 || r.left > window.innerWidth)
      box.el.scrollIntoView({ block: 'center', inline: 'nearest' });
    placeMark();
  }
  window.addEventListener('resize', placeMark);

  document.addEventListener('click', function (event) {
    if (!event.isTrusted) return;
    var at;
    for (var e = event.target; e && e.nodeType === 1; e = e.parentElement) {
      at = offsets.get(e);
      if (at !== undefined) break;
    }
    for (var c = event.target; c && c.nodeType === 1; c = c.parentElement) {
      var n = c.localName;
      if ((n === 'a' || n === 'area') && c.hasAttribute('href') ||
          (n === 'button' || n === 'input') && (c.type === 'submit' || c.type === 'image')) {
        event.preventDefault();
        break;
      }
    }
    if (at !== undefined) {
      marked = e;
      placeMark();
      tell(function () { bridge.pick(at); });
    }
  }, true);

  // What is marked, as "name: text" (for the program's own checks).
  function markedText() {
    return marked ? marked.localName + ': ' + (marked.textContent || '').trim().slice(0, 60) : '';
  }
  window.__veloraLive = { update: update, patch: patch, reveal: reveal, marked: markedText };
})();
)JS";

}  // namespace vlr::preview
