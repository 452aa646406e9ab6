// The menu bar built from the program's menu table: titles and entries with their access keys,
// worked with the mouse or from the keyboard (Alt or F10, the arrows, Return, Escape, letters).
// A screen reader sees a menu bar of menus: the focus follows the current title or entry.
import { boxCount } from './boxes.js';
import { hasEnded } from './end.js';
import { blurLine, restoreFocus } from './line_input.js';
import { wake } from './start.js';

let menubar = null;
const menu = { titles: [], active: false, open: -1, current: -1, entry: -1, byKeyboard: false };
const choices = [];

// The page's menu bar, found once at start-up.
export function findMenuBar() {
  menubar = document.getElementById('menubar');
}

// While a box is shown the menu bar takes no pointer.
export function blockMenuBar(blocked) {
  menubar.classList.toggle('blocked', blocked);
}

// Whether the menu bar has the keys: a menu open, or a title current from the keyboard.
export function menuActive() {
  return menu.active;
}

// A press anywhere but on the menu bar closes an open menu.
export function closeMenuOutside(event) {
  if (menu.open >= 0 && !menubar.contains(event.target)) closeMenu();
}

function accessKeyLabel(text) {
  var label = document.createDocumentFragment();
  var at = text.indexOf('&');
  if (at < 0 || at + 1 >= text.length) {
    label.appendChild(document.createTextNode(text));
    return { label: label, key: '' };
  }
  label.appendChild(document.createTextNode(text.slice(0, at)));
  var u = document.createElement('u');
  u.textContent = text[at + 1];
  label.appendChild(u);
  label.appendChild(document.createTextNode(text.slice(at + 2)));
  return { label: label, key: text[at + 1].toLowerCase() };
}

export function installMenu(table) {
  closeMenu();
  menubar.textContent = '';
  menu.titles = [];
  var i = 0;
  while (i < table.length && table[i] !== '') {
    var title = document.createElement('div');
    title.className = 'menu-title';
    var name = document.createElement('span');
    name.textContent = table[i];
    title.appendChild(name);
    setRoles(title, {
      role: 'menuitem',
      'aria-haspopup': 'menu',
      'aria-expanded': 'false',
      'aria-label': table[i],
      tabindex: '-1',
    });
    var list = document.createElement('div');
    list.className = 'menu';
    list.hidden = true;
    setRoles(list, { role: 'menu', 'aria-label': table[i], tabindex: '-1' });
    var group = { title: title, list: list, entries: [] };
    for (++i; i < table.length && table[i] !== ''; ++i) {
      var entry = document.createElement('div');
      entry.className = 'menu-entry';
      var made = accessKeyLabel(table[i]);
      entry.appendChild(made.label);
      entry.dataset.index = i;
      // A divider stays an entry that can be chosen, as on the desktop; it is read as a line.
      var divider = /^-+$/.test(table[i]);
      setRoles(entry, divider ? { role: 'separator' } : { role: 'menuitem', tabindex: '-1' });
      list.appendChild(entry);
      group.entries.push({ element: entry, index: i, key: made.key, divider: divider });
    }
    ++i;
    title.appendChild(list);
    menubar.appendChild(title);
    menu.titles.push(group);
    setUpTitle(group, menu.titles.length - 1);
  }
}

function setRoles(element, attributes) {
  Object.keys(attributes).forEach(function (name) {
    element.setAttribute(name, attributes[name]);
  });
}

function setUpTitle(group, number) {
  group.title.addEventListener('pointerdown', function (event) {
    if (event.target.closest('.menu')) return;
    event.preventDefault();
    if (boxCount() > 0 || hasEnded()) return;
    if (menu.open === number) closeMenu();
    else openMenu(number, -1, false);
  });
  group.title.addEventListener('pointerenter', function () {
    if (menu.open >= 0 && menu.open !== number && !menu.byKeyboard) openMenu(number, -1, false);
  });
  group.entries.forEach(function (entry, position) {
    // Only a moving pointer takes the highlight: a menu opened with the keyboard under a
    // resting pointer gets pointerenter too, which would move the keyboard's current entry.
    entry.element.addEventListener('pointermove', function () {
      if (menu.open === number) highlight(position);
    });
    entry.element.addEventListener('click', function (event) {
      event.stopPropagation();
      choose(entry.index);
    });
  });
}

function highlight(position) {
  var group = menu.titles[menu.open];
  if (!group) return;
  menu.entry = position;
  group.entries.forEach(function (entry, i) {
    entry.element.classList.toggle('current', i === position);
  });
  focusCurrent();
}

function showTitle(number) {
  menu.titles.forEach(function (group, i) {
    group.title.classList.toggle('current', i === number);
    group.list.hidden = !(i === number && menu.open === number);
    group.title.setAttribute('aria-expanded', String(!group.list.hidden));
    if (!group.list.hidden) keepOnScreen(group.list);
  });
  focusCurrent();
}

// On a narrow screen a menu under a title near the right edge would run off it: shift it left.
function keepOnScreen(list) {
  list.style.left = '';
  var box = list.getBoundingClientRect();
  var over = box.right - document.documentElement.clientWidth;
  if (over > 0) list.style.left = -Math.min(over, box.left) + 'px';
}

// The focus is where the highlight is: on the open menu's entry (on the menu for a divider), else
// on the title. The bar is no tab stop: the Tab key is the program's, and Alt or F10 reach the
// bar; a tab stop would only let the focus slip behind a message box.
function focusCurrent() {
  var number = menu.open >= 0 ? menu.open : menu.current;
  var group = menu.titles[number];
  if (!menu.active || !group) return;
  var entry = menu.open >= 0 ? group.entries[menu.entry] : null;
  var target = !entry ? group.title : entry.divider ? group.list : entry.element;
  target.focus({ preventScroll: true });
}

function openMenu(number, entry, byKeyboard) {
  menu.active = true;
  menu.byKeyboard = byKeyboard;
  menu.open = number;
  showTitle(number);
  highlight(entry);
}

export function closeMenu() {
  menu.active = false;
  menu.open = -1;
  menu.entry = -1;
  menu.current = -1;
  showTitle(-1);
  if (menubar.contains(document.activeElement)) document.activeElement.blur();
  restoreFocus();
}

export function toggleMenuFromKeyboard() {
  if (menu.active) {
    closeMenu();
    return;
  }
  if (menu.titles.length === 0) return;
  menu.active = true;
  menu.byKeyboard = true;
  menu.open = -1;
  menu.current = 0;
  blurLine();
  showTitle(0);
}

export function menuKey(event) {
  var count = menu.titles.length;
  var title = menu.open >= 0 ? menu.open : menu.current;
  var group = menu.titles[title];
  var size = group ? group.entries.length : 0;
  switch (event.key) {
    case 'ArrowLeft':
    case 'ArrowRight':
      title = (title + (event.key === 'ArrowRight' ? 1 : count - 1)) % count;
      menu.current = title;
      if (menu.open >= 0) openMenu(title, 0, true);
      else showTitle(title);
      break;
    case 'ArrowDown':
      if (menu.open < 0) openMenu(title, 0, true);
      else highlight((menu.entry + 1) % size);
      break;
    case 'ArrowUp':
      if (menu.open < 0) openMenu(title, size - 1, true);
      else highlight((menu.entry + size - 1) % size);
      break;
    case 'Enter':
    case ' ':
      if (menu.open < 0) openMenu(title, 0, true);
      else if (menu.entry >= 0) choose(group.entries[menu.entry].index);
      break;
    case 'Escape':
      if (menu.open >= 0) {
        menu.open = -1;
        menu.current = title;
        showTitle(title);
      } else {
        closeMenu();
      }
      break;
    default:
      if (menu.open >= 0) {
        var letter = event.key.toLowerCase();
        for (var i = 0; i < size; ++i) {
          if (group.entries[i].key === letter) {
            choose(group.entries[i].index);
            break;
          }
        }
      }
  }
}

// The command runs in the program's wait that takes it, nested like on the desktop.
function choose(index) {
  closeMenu();
  if (boxCount() > 0 || hasEnded()) return;
  choices.push(index);
  wake();
}

export function takeMenuChoice() {
  return choices.length > 0 ? choices.shift() : -1;
}
