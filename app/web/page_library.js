// The page's side of app/web/form1_page.cpp: it makes Form1's elements, measures text in the
// page's fonts, draws the lines the core lays out and passes clicks and style changes back.
mergeInto(LibraryManager.library, {
  $fw: {els: [], fonts: [], metrics: [], colours: {}, main: null, ctx: null},
  $fwText: function (p, n) {
    var s = '';
    for (var i = 0; i < n; ++i) s += String.fromCharCode(HEAPU16[(p >> 1) + i]);
    return s;
  },
  // A label's ascent and descent in its font, measured when first asked for: never for a hidden
  // label, whose font would cost the canvas a lookup of milliseconds before the first frame.
  $fwMetrics__deps: ['$fw'],
  $fwMetrics: function (index) {
    if (!fw.metrics[index]) {
      fw.ctx.font = fw.fonts[index];
      var m = fw.ctx.measureText('');
      fw.metrics[index] = [m.fontBoundingBoxAscent, m.fontBoundingBoxDescent];
    }
    return fw.metrics[index];
  },

  // A file name: ASCII, ended by a zero byte.
  $fwAscii: function (p) {
    var s = '';
    while (HEAPU8[p]) s += String.fromCharCode(HEAPU8[p++]);
    return s;
  },

  fw_init_page__deps: ['$fw', '$fwText'],
  fw_init_page: function (title, titleLength, width, height) {
    document.title = fwText(title, titleLength);
    fw.main = document.getElementById('Form1');
    fw.main.style.width = width + 'px';
    fw.main.style.height = height + 'px';
    fw.ctx = document.createElement('canvas').getContext('2d');
    var restyle = function () { fw.colours = {}; _fw_restyle(); };
    matchMedia('(prefers-color-scheme: dark)').addEventListener('change', restyle);
    matchMedia('(forced-colors: active)').addEventListener('change', restyle);
    // A query that matches only the present ratio: it changes once, then is asked anew. Chromium
    // picks an image's rendering from its srcset again only when the srcset is set again.
    (function watchRatio() {
      matchMedia('(resolution: ' + devicePixelRatio + 'dppx)').addEventListener('change',
          function () {
            watchRatio();
            fw.main.querySelectorAll('img[srcset]').forEach(function (img) { img.srcset += ''; });
            restyle();
          }, {once: true});
    })();
    // The button is the page's only focusable element: Tab and Shift+Tab leave the focus on it.
    document.addEventListener('keydown', function (e) { if (e.key === 'Tab') e.preventDefault(); });
  },

  fw_make_control__deps: ['$fw', '$fwText'],
  fw_make_control: function (kind, index, name, nameLength, left, top, width, height, text,
                             textLength, accessibleName, accessibleNameLength) {
    var el, named;
    if (kind === 0) {
      el = named = document.createElement('h1');
      el.setAttribute('aria-live', 'polite');
      // Announced whole when it changes, not as the lines that changed.
      el.setAttribute('aria-atomic', 'true');
    } else if (kind === 1) {
      el = named = document.createElement('button');
      el.type = 'button';
      el.textContent = fwText(text, textLength);
      // Browsers click a focused button on Enter too; the game's button takes only Space.
      el.addEventListener('keydown', function (e) { if (e.key === 'Enter') e.preventDefault(); });
      // The game hears of each click by the button's place in the table.
      el.addEventListener('click', function () {
        el.removeAttribute('aria-describedby');  // see fw_started
        _fw_clicked(index);
      });
    } else {
      el = document.createElement('div');
      el.className = 'frame';
      named = el.appendChild(document.createElement('img'));
      named.alt = fwText(accessibleName, accessibleNameLength);
    }
    named.id = fwText(name, nameLength);
    el.style.cssText = 'left:' + left + 'px;top:' + top + 'px;width:' + width + 'px;height:' +
                       height + 'px';
    // Labels lie beneath the other controls, and come first in reading order.
    if (kind === 0) fw.main.prepend(el); else fw.main.append(el);
    fw.els[index] = el;
  },

  fw_exists__deps: ['$fw'],
  fw_exists: function (index) { return !!(fw.els[index] && fw.els[index].isConnected); },

  fw_set_text__deps: ['$fw', '$fwText', 'fw_exists'],
  fw_set_text: function (index, text, length) {
    if (!_fw_exists(index)) return false;
    fw.els[index].textContent = fwText(text, length);
    return true;
  },

  fw_set_font__deps: ['$fw', '$fwText', '$fwMetrics'],
  fw_set_font: function (index, face, faceLength, weight, em) {
    var font = fw.fonts[index] = weight + ' ' + (em || 13) + 'px ' +
               (faceLength ? '"' + fwText(face, faceLength) + '"' : 'sans-serif');
    delete fw.metrics[index];
    var el = fw.els[index];
    if (el) {
      var metrics = fwMetrics(index);
      el.style.font = font;
      el.style.lineHeight = (metrics[0] + metrics[1]) + 'px';
    }
  },

  fw_text_width__deps: ['$fw', '$fwText'],
  fw_text_width: function (index, text, length) {
    fw.ctx.font = fw.fonts[index];
    return Math.round(fw.ctx.measureText(fwText(text, length)).width);
  },

  fw_font_metric__deps: ['$fwMetrics'],
  fw_font_metric: function (index, descent) { return Math.round(fwMetrics(index)[descent ? 1 : 0]); },

  // A label is drawn again: its colours for the light and the dark scheme, then line by line.
  fw_clear_lines__deps: ['$fw'],
  fw_clear_lines: function (index, light, dark) {
    var el = fw.els[index];
    var rgb = function (c) { return 'rgb(' + (c & 255) + ',' + (c >> 8 & 255) + ',' + (c >> 16 & 255) + ')'; };
    el.style.setProperty('--light', rgb(light));
    el.style.setProperty('--dark', rgb(dark));
    el.textContent = '';
  },

  fw_add_line__deps: ['$fw', '$fwText', '$fwMetrics'],
  // Each line ends in a space: an engine that runs the lines' texts together (WebKit does, in
  // innerText and to a screen reader) still reads words. Drawn at the line's end, it shows nothing.
  fw_add_line: function (index, text, length, baseline) {
    var span = fw.els[index].appendChild(document.createElement('span'));
    span.textContent = fwText(text, length) + ' ';
    span.style.top = (baseline - fwMetrics(index)[0]) + 'px';
  },

  fw_system_colour__deps: ['$fw'],
  // The face's and the text's colours, for the light or the dark colour scheme, read from an
  // empty hidden element of that scheme, once until the page's style changes. The dark face is
  // the page's Canvas, dark in every engine, as a desktop's dark theme is; Chromium's dark
  // ButtonFace is a mid grey, on which the heading's blue could only go nearly white.
  fw_system_colour: function (text, dark) {
    var name = dark ? 'dark' : 'light', key = name + text;
    if (key in fw.colours) return fw.colours[key];
    if (!fw[name]) {
      fw[name] = fw.main.appendChild(document.createElement('i'));
      fw[name].hidden = true;
      fw[name].style.cssText = 'color-scheme:' + name + ';background:' + (dark ? 'Canvas' : 'ButtonFace') +
                           ';color:ButtonText';
    }
    var style = getComputedStyle(fw[name]);
    var c = (text ? style.color : style.backgroundColor).match(/\d+/g).map(Number);
    return fw.colours[key] = (c[0] | c[1] << 8 | c[2] << 16) >>> 0;
  },

  fw_forced_colours: function () { return matchMedia('(forced-colors: active)').matches; },

  // The browser picks the rendering for the screen's ratio, and picks again when it changes.
  fw_show_picture__deps: ['$fw', '$fwAscii'],
  fw_show_picture: function (index, file, file2x) {
    var img = fw.els[index].firstChild, one = fwAscii(file);
    img.decoding = 'sync';  // in the frame that first shows the game, not one after it
    img.onerror = function () {
      console.error('FernWick: ' + img.currentSrc + ' did not load or decode; the frame stays empty');
    };
    if (file2x) img.srcset = one + ' 1x, ' + fwAscii(file2x) + ' 2x';
    img.src = one;
  },

  fw_focus__deps: ['$fw'],
  fw_focus: function (index) {
    fw.els[index].autofocus = true;
    fw.els[index].focus();
  },

  // Form1 is built and shown. Until the first press the button is described by the labels, for a
  // screen reader to say the first heading with it; then their live region says each change.
  fw_started__deps: ['$fw'],
  fw_started: function () {
    var ids = Array.from(fw.main.querySelectorAll('h1'), function (h) { return h.id; }).join(' ');
    fw.main.querySelectorAll('button').forEach(function (b) { b.setAttribute('aria-describedby', ids); });
    Module['started']();
  },

  fw_show_failure__deps: ['$fw', '$fwText'],
  // As a desktop window closes after its failure message, the game leaves the page.
  fw_show_failure: function (message, length) {
    alert(fwText(message, length));
    fw.main.textContent = '';
    fw.main.appendChild(document.createElement('p')).textContent =
        'FernWick has stopped. Reload the page to play again.';
  },
});
