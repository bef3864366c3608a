// Converts the web platform's data packages into resources/completion/web-data.txt, the data of
// the editor's completion list. Run it with the packages installed in a folder of their own:
//
//   mkdir /tmp/wd && cd /tmp/wd && npm install html-tag-names html-void-elements \
//     html-element-attributes character-entities mdn-data vscode-html-languageservice
//   node tools/completion-data.mjs /tmp/wd/node_modules resources/completion/web-data.txt
//
// The output is plain text, one section per "@name" line, read by memo/engine/CompletionData:
//   @elements      element names
//   @void          elements without an end tag
//   @global        attributes every element allows
//   @attributes    "element attr attr ..." per element
//   @values        "element.attribute value value ..." ("*" for any element)
//   @entities      "name<TAB>characters" for each named character reference (with ";")
//   @properties    "property keyword keyword ..." per CSS property
// Lines starting with "#" are comments; the header names the packages and their versions.
import { readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

const [modules, output] = process.argv.slice(2);
if (!modules || !output) {
  console.error('usage: node completion-data.mjs NODE_MODULES OUTPUT');
  process.exit(2);
}
const require = createRequire(join(modules, 'noop.js'));
const version = (name) => JSON.parse(readFileSync(join(modules, name, 'package.json'), 'utf8')).version;
const load = async (name) => import(pathToFileURL(join(modules, name, 'index.js')).href);

const { htmlTagNames } = await load('html-tag-names');
const { htmlVoidElements } = await load('html-void-elements');
const { htmlElementAttributes } = await load('html-element-attributes');
const { characterEntities } = await load('character-entities');
const properties = require('mdn-data/css/properties.json');
const syntaxes = require('mdn-data/css/syntaxes.json');
const vscode = require('vscode-html-languageservice/lib/umd/languageFacts/data/webCustomData.js').htmlData;

const packages = ['html-tag-names', 'html-void-elements', 'html-element-attributes', 'character-entities', 'mdn-data',
  'vscode-html-languageservice'];
const out = [];
out.push('# Completion data of the editor: elements, attributes, enumerated attribute values, named character');
out.push('# references and CSS properties with their keywords. Made by tools/completion-data.mjs; do not edit.');
out.push('# Sources: ' + packages.map((p) => `${p} ${version(p)}`).join(', '));
out.push('# Enumerated attribute values and the event handler attributes come from vscode-html-languageservice\'s');
out.push('# web data; CSS keywords are the literal words of mdn-data\'s property syntaxes.');

const sorted = (xs) => [...new Set(xs)].sort();
out.push('@elements', ...sorted(htmlTagNames));
out.push('@void', ...sorted(htmlVoidElements));

const events = vscode.globalAttributes.map((a) => a.name).filter((n) => /^on[a-z]+$/.test(n));
out.push('@global', sorted([...htmlElementAttributes['*'], ...events]).join(' '));
out.push('@attributes');
for (const tag of Object.keys(htmlElementAttributes).filter((t) => t !== '*').sort())
  out.push(`${tag} ${sorted(htmlElementAttributes[tag]).join(' ')}`);

// Value sets of vscode's data; "v" marks attributes that take no value.
const sets = new Map(vscode.valueSets.map((s) => [s.name, s.values.map((v) => v.name)]));
const values = [];
const addValues = (owner, attr) => {
  if (!attr.valueSet || attr.valueSet === 'v' || !sets.has(attr.valueSet)) return;
  const vs = sets.get(attr.valueSet).filter((v) => /^[^\s]+$/.test(v));
  if (vs.length) values.push(`${owner}.${attr.name} ${vs.join(' ')}`);
};
for (const a of vscode.globalAttributes) addValues('*', a);
for (const t of vscode.tags) for (const a of t.attributes) addValues(t.name, a);
out.push('@values', ...values.sort());

out.push('@entities');
for (const name of Object.keys(characterEntities).sort()) out.push(`${name};\t${characterEntities[name]}`);

// The keywords of a property: literal words of its syntax, following <type> references into
// mdn-data's syntaxes and <'other-property'> references, a few levels deep.
const wordsOf = (syntax, depth, seen) => {
  const words = [];
  const cleaned = syntax.replace(/\[|\]|\{[^}]*\}|[|&?*+#!,\/()]/g, ' ');
  for (const part of cleaned.split(/\s+/).filter(Boolean)) {
    let m;
    if ((m = /^<'([a-z-]+)'>$/.exec(part))) {
      if (depth > 0 && properties[m[1]] && !seen.has(m[1])) {
        seen.add(m[1]);
        words.push(...wordsOf(properties[m[1]].syntax, depth - 1, seen));
      }
    } else if ((m = /^<([a-z-]+)(?:\s*\[.*\])?>$/.exec(part))) {
      if (depth > 0 && syntaxes[m[1]] && !seen.has(m[1])) {
        seen.add(m[1]);
        words.push(...wordsOf(syntaxes[m[1]].syntax, depth - 1, seen));
      }
    } else if (/^-?[a-z][a-z0-9-]*$/.test(part)) {
      words.push(part);
    }
  }
  return words;
};
out.push('@properties');
const wide = ['inherit', 'initial', 'unset', 'revert', 'revert-layer'];
for (const name of Object.keys(properties).sort()) {
  const p = properties[name];
  if (name.startsWith('-') || name === '--*' || p.status === 'obsolete') continue;
  const words = sorted(wordsOf(p.syntax, 4, new Set())).filter((w) => !wide.includes(w));
  out.push([name, ...words, ...wide].join(' '));
}
writeFileSync(output, out.join('\n') + '\n');
console.log(`${output}: ${out.length} lines`);
