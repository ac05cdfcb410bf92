// Scripted test server: canned token replies that real servers send but the authorization server does not
// (escaped JSON, form-encoded replies, arrays before expires_in, tokens in redirects, control characters), an
// echo of what a client sent, and a counting token endpoint with a resource that accepts only its newest token.
//
//   node server.js PORT_FILE
//
// Listens on 127.0.0.1 with a port chosen by the system and writes that port to PORT_FILE once it accepts.
// Node's standard library only.
'use strict';
const fs = require('fs');
const http = require('http');

const json = 'application/json';
const canned = {
  // A PHP server escapes "/" by default.
  '/reply/escaped': [200, json, '{"access_token":"ab\\/cd","token_type":"Bearer","expires_in":3600}'],
  '/reply/error-quote': [400, json, '{"error":"invalid_grant","error_description":"say \\"no\\" twice"}'],
  '/reply/array-first':
      [200, json, '{"scopes":["a","b"],"ext":{"x":[1,{"y":2}]},"access_token":"arr-token","token_type":"Bearer","expires_in":120}'],
  '/reply/form': [200, 'application/x-www-form-urlencoded', 'access_token=form%2Ftoken&token_type=bearer&expires_in=60&scope=a+b'],
  '/reply/expires-string': [200, json, '{"access_token":"s-token","token_type":"Bearer","expires_in":"90","scope":"read write"}'],
  '/reply/redirect-token': [302, json, '{"access_token":"redirected-token","token_type":"Bearer"}'],
  '/reply/control': [400, json, '{"error":"invalid_request","error_description":"bad\\u001b[31mred\\u009b"}'],
  '/reply/no-expiry': [200, json, '{"access_token":"forever","token_type":"Bearer"}'],
};

// name -> { count, latest }: each counting endpoint's token requests and newest token.
const counters = new Map();
function counter(name) {
  if (!counters.has(name)) counters.set(name, { count: 0, latest: '' });
  return counters.get(name);
}

function send(res, status, type, body, extra = {}) {
  res.writeHead(status, Object.assign({ 'Content-Type': type, 'Content-Length': Buffer.byteLength(body) }, extra));
  res.end(body);
}

// A reason phrase and a header with terminal escape sequences, which Node's own writer refuses to send.
function sendControlCharacters(req) {
  const body = '{"note":"no error member"}';
  req.socket.end(`HTTP/1.1 500 Bad\x1b[2JReason\r\nContent-Type: application/json\r\n` +
                 `X-Note: a\x1b]0;title\x07b\r\nContent-Length: ${body.length}\r\nConnection: close\r\n\r\n${body}`);
}

// 6 MiB in 24 pieces 25 ms apart: a body large enough for the CLI's progress line, arriving while it is shown.
function sendBigBodySlowly(res) {
  const piece = Buffer.alloc(256 * 1024, 'x');
  res.writeHead(200, { 'Content-Type': 'application/octet-stream', 'Content-Length': 24 * piece.length });
  let sent = 0;
  const timer = setInterval(() => {
    res.write(piece);
    if (++sent === 24) {
      clearInterval(timer);
      res.end();
    }
  }, 25);
}

function handle(req, res, body) {
  // A request in absolute form comes to this server as a proxy: it asks for Basic credentials first.
  const absolute = /^http:\/\/[^/]+/.exec(req.url);
  if (absolute && !req.headers['proxy-authorization']) {
    return send(res, 407, 'text/plain', 'proxy credentials needed\n', { 'Proxy-Authenticate': 'Basic realm="p"' });
  }
  const path = req.url.substring(absolute ? absolute[0].length : 0).split('?')[0];
  if (path === '/health') return send(res, 200, 'text/plain', 'ok\n');
  if (path === '/raw/control') return sendControlCharacters(req);
  if (path === '/big/slow') return sendBigBodySlowly(res);
  if (canned[path]) {
    const [status, type, text] = canned[path];
    return send(res, status, type, text, status === 302 ? { Location: '/elsewhere' } : {});
  }
  // The token request as received, in a token reply: tests check the exact Authorization and form.
  if (path === '/echo') {
    return send(res, 200, json, JSON.stringify({
      access_token: 'echo-token', token_type: 'Bearer', authorization: req.headers.authorization || '',
      content_type: req.headers['content-type'] || '', accept: req.headers.accept || '', method: req.method,
      proxy_authorization: req.headers['proxy-authorization'] || '',
      body: body.toString('latin1'), url: req.url }));
  }
  const counting = /^\/count\/([\w-]+)\/(token|resource|requests)$/.exec(path);
  if (counting) {
    const entry = counter(counting[1]);
    if (counting[2] === 'token') {
      entry.count += 1;
      entry.latest = `tok-${counting[1]}-${entry.count}`;
      // Slow enough that two runs started together overlap in the token request.
      return setTimeout(() => send(res, 200, json, JSON.stringify(
          { access_token: entry.latest, token_type: 'Bearer', expires_in: 3600 })), 300);
    }
    if (counting[2] === 'requests') return send(res, 200, 'text/plain', `${entry.count}\n`);
    const ok = req.headers.authorization === `Bearer ${entry.latest}`;
    return send(res, ok ? 200 : 401, 'text/plain', ok ? `resource for ${entry.latest}\n` : 'refused\n');
  }
  send(res, 404, 'text/plain', 'no such path\n');
}

const server = http.createServer((req, res) => {
  const chunks = [];
  req.on('data', (chunk) => chunks.push(chunk));
  req.on('end', () => handle(req, res, Buffer.concat(chunks)));
});
server.listen(0, '127.0.0.1', () => {
  const portFile = process.argv[2];
  const temporary = `${portFile}.tmp${process.pid}`;
  fs.writeFileSync(temporary, `${server.address().port}\n`);
  fs.renameSync(temporary, portFile);
});
process.on('SIGTERM', () => server.close(() => process.exit(0)));
