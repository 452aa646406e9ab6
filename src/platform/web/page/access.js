// What a screen reader gets of the drawing: its name, and the texts a pupil must read off it (the
// continue prompt, the readouts of mouse measuring) spoken through a polite live region.
import { mainSurface } from './windows.js';

const DrawingNames = {
  coillab:
    'Spule schalten: Zeichnung mit dem Stromkreis aus Batterie, Widerständen, Spule und ' +
    'Schalter und den Kurven von Induktions-Spannung und Spulen-Strom über der Zeit',
  caplab:
    'Kondensator laden: Zeichnung mit dem Stromkreis aus Batterie, Widerständen, ' +
    'Kondensator und Schalter und den Kurven von Kondensator-Spannung und ' +
    'Kondensator-Strom über der Zeit',
};
const PromptText = /^Weiter \?/;
const ReadoutText = /^\s*-?[0-9.,]+ (V|µA)\s*$/; // a reading of mouse measuring, with its unit

export function nameDrawing() {
  document
    .getElementById('screen')
    .setAttribute('aria-label', DrawingNames[LabAssets.program] || '');
}

// A prompt is spoken each time it shows, made to differ by a blank from the same text before; a
// reading only when it changes, not on every move of the pointer.
function speak(text, again) {
  var region = document.getElementById('spoken');
  if (region.textContent.trim() === text && !again) return;
  region.textContent = region.textContent === text ? text + '\u00a0' : text;
}

// The last text printed on each window: the prompt of a line input that follows it.
const prompts = new WeakMap();

export function promptOf(s) {
  return prompts.get(s);
}

// Every text drawn on a window passes here.
export function noteText(s, text, printed) {
  if (printed && text.trim() !== '') prompts.set(s, text);
  if (printed && PromptText.test(text)) speak(text, true);
  if (!printed && s === mainSurface() && ReadoutText.test(text)) speak(text.trim(), false);
}
