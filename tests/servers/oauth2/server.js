// Authorization server and protected resource for the tests: @node-oauth/oauth2-server behind Node's own http
// module, with an in-memory model that really checks clients, users, tokens and scopes.
//
//   node server.js PORT_FILE
//
// Listens on 127.0.0.1 with a port chosen by the system and writes that port to PORT_FILE once it accepts
// connections. Routes (all answers JSON unless noted):
//   POST /oauth/token      RFC 6749 token endpoint: client_credentials, password, refresh_token; client
//                          authentication by HTTP Basic only (RFC 6749 section 2.3.1).
//   GET  /oauth/token      not a token request (RFC 6749 section 3.2 wants POST): 400 "invalid_request" that
//                          echoes what arrived, so a test can see a form that travelled in the query.
//   GET|POST|... /api/resource   protected resource: 401 without a valid Bearer token (RFC 6750), else what it saw.
//   GET  /health           200 "ok" (plain text), for the start script.
'use strict';

const fs = require('fs');
const http = require('http');
const OAuth2Server = require('@node-oauth/oauth2-server');

const { Request, Response, OAuthError } = OAuth2Server;

const ACCESS_TOKEN_LIFETIME = 3600;
const REFRESH_TOKEN_LIFETIME = 14 * 24 * 3600;
const KNOWN_SCOPES = ['read', 'write'];
const MAX_BODY_BYTES = 1024 * 1024;

const clients = new Map([
  ['demo-client', {
    id: 'demo-client',
    secret: 'demo-secret',
    grants: ['client_credentials', 'password', 'refresh_token'],
    accessTokenLifetime: ACCESS_TOKEN_LIFETIME,
    refreshTokenLifetime: REFRESH_TOKEN_LIFETIME,
  }],
]);

const users = new Map([
  ['alice', { id: 'alice', username: 'alice', password: 'wonderland' }],
]);

// Tokens live as long as the process; a test run starts a fresh server.
const accessTokens = new Map();
const refreshTokens = new Map();

// Client credentials grants act for the client itself; this is the user they carry.
function serviceUserOf(client) {
  return { id: `service:${client.id}`, username: client.id };
}

function publicClient(client) {
  return {
    id: client.id,
    grants: client.grants,
    accessTokenLifetime: client.accessTokenLifetime,
    refreshTokenLifetime: client.refreshTokenLifetime,
  };
}

const model = {
  async getClient(clientId, clientSecret) {
    const client = clients.get(clientId);
    if (!client || client.secret !== clientSecret) return false;
    return publicClient(client);
  },

  async getUser(username, password) {
    const user = users.get(username);
    if (!user || user.password !== password) return false;
    return { id: user.id, username: user.username };
  },

  async getUserFromClient(client) {
    return clients.has(client.id) ? serviceUserOf(client) : false;
  },

  // Requests without a scope get every scope the server knows; a request naming an unknown scope is refused.
  async validateScope(user, client, scope) {
    if (!scope || scope.length === 0) return KNOWN_SCOPES.slice();
    return scope.every((s) => KNOWN_SCOPES.includes(s)) ? scope : false;
  },

  async saveToken(token, client, user) {
    const saved = { ...token, client, user };
    accessTokens.set(token.accessToken, saved);
    if (token.refreshToken) refreshTokens.set(token.refreshToken, saved);
    return saved;
  },

  async getAccessToken(accessToken) {
    return accessTokens.get(accessToken) || false;
  },

  async getRefreshToken(refreshToken) {
    const token = refreshTokens.get(refreshToken);
    if (!token) return false;
    return {
      refreshToken: token.refreshToken,
      refreshTokenExpiresAt: token.refreshTokenExpiresAt,
      scope: token.scope,
      client: token.client,
      user: token.user,
    };
  },

  // A refresh token is used once; the access token issued with it stays valid until it expires.
  async revokeToken(token) {
    return refreshTokens.delete(token.refreshToken);
  },

  async verifyScope(token, requested) {
    return requested.every((s) => (token.scope || []).includes(s));
  },
};

const oauth = new OAuth2Server({
  model,
  accessTokenLifetime: ACCESS_TOKEN_LIFETIME,
  refreshTokenLifetime: REFRESH_TOKEN_LIFETIME,
  allowBearerTokensInQueryString: false,
});

function readBody(req) {
  return new Promise((resolve, reject) => {
    const chunks = [];
    let size = 0;
    req.on('data', (chunk) => {
      size += chunk.length;
      if (size > MAX_BODY_BYTES) {
        reject(new Error('request body too large'));
        req.destroy();
        return;
      }
      chunks.push(chunk);
    });
    req.on('end', () => resolve(Buffer.concat(chunks)));
    req.on('error', reject);
  });
}

function sendJson(res, status, body, headers = {}) {
  const text = JSON.stringify(body);
  res.writeHead(status, {
    'Content-Type': 'application/json; charset=utf-8',
    'Content-Length': Buffer.byteLength(text),
    'Cache-Control': 'no-store',
    ...headers,
  });
  res.end(text);
}

function sendOAuthResponse(res, response) {
  sendJson(res, response.status, response.body, response.headers);
}

function rawQueryOf(url) {
  return url.search.startsWith('?') ? url.search.slice(1) : url.search;
}

function isForm(req) {
  return /^application\/x-www-form-urlencoded\b/i.test(req.headers['content-type'] || '');
}

function formOf(text) {
  return Object.fromEntries(new URLSearchParams(text));
}

function oauthRequestOf(req, url, rawBody) {
  return new Request({
    headers: req.headers,
    method: req.method,
    query: Object.fromEntries(url.searchParams),
    body: isForm(req) ? formOf(rawBody.toString('utf8')) : {},
  });
}

async function handleTokenRequest(req, res, url, rawBody) {
  if (req.method === 'GET') {
    // The token endpoint takes POST only. Echo the query, raw and decoded, so that a client that sent its form
    // after "?" can see exactly what arrived. The reply stays a flat object: each decoded parameter becomes a
    // member "query.<name>", which a simple scanner finds as easily as a JSON parser.
    const reply = {
      error: 'invalid_request',
      error_description: 'The token endpoint accepts POST only',
      received_method: req.method,
      received_query: rawQueryOf(url),
      received_authorization: req.headers.authorization || '',
      received_body_bytes: rawBody.length,
    };
    for (const [name, value] of url.searchParams) reply[`query.${name}`] = value;
    sendJson(res, 400, reply);
    return;
  }
  const request = oauthRequestOf(req, url, rawBody);
  const response = new Response({});
  try {
    await oauth.token(request, response);
  } catch (err) {
    if (!(err instanceof OAuthError)) throw err;
    // The token handler rejects a wrong method or content type before it fills the response.
    if (!response.body || !response.body.error) {
      response.status = err.code;
      response.body = { error: err.name, error_description: err.message };
    }
  }
  sendOAuthResponse(res, response);
}

async function handleResource(req, res, url, rawBody) {
  // The token must come in the Authorization header; a form body is not looked at for one.
  const request = new Request({
    headers: req.headers,
    method: req.method,
    query: Object.fromEntries(url.searchParams),
    body: {},
  });
  const response = new Response({});
  let token;
  try {
    token = await oauth.authenticate(request, response);
  } catch (err) {
    if (!(err instanceof OAuthError)) throw err;
    sendJson(res, err.code, { error: err.name, error_description: err.message }, response.headers);
    return;
  }
  sendJson(res, 200, {
    resource: 'demo',
    method: req.method,
    path: url.pathname,
    query: rawQueryOf(url),
    content_type: req.headers['content-type'] || '',
    body: rawBody.toString('utf8'),
    body_bytes: rawBody.length,
    client_id: token.client.id,
    user: token.user.username,
    scope: (token.scope || []).join(' '),
  }, response.headers);
}

async function route(req, res) {
  const url = new URL(req.url, 'http://127.0.0.1');
  const rawBody = await readBody(req);
  if (url.pathname === '/health') {
    res.writeHead(200, { 'Content-Type': 'text/plain' });
    res.end('ok');
  } else if (url.pathname === '/oauth/token') {
    await handleTokenRequest(req, res, url, rawBody);
  } else if (url.pathname === '/api/resource') {
    await handleResource(req, res, url, rawBody);
  } else {
    sendJson(res, 404, { error: 'not_found', path: url.pathname });
  }
}

function writePortFile(portFile, port) {
  const temporary = `${portFile}.tmp${process.pid}`;
  fs.writeFileSync(temporary, `${port}\n`);
  fs.renameSync(temporary, portFile);
}

function main() {
  const portFile = process.argv[2];
  if (!portFile) {
    process.stderr.write('usage: node server.js PORT_FILE\n');
    process.exit(2);
  }
  const server = http.createServer((req, res) => {
    route(req, res).catch((err) => {
      process.stderr.write(`oauth2: ${err.stack || err}\n`);
      if (!res.headersSent) sendJson(res, 500, { error: 'server_error', error_description: String(err.message) });
      else res.destroy();
    });
  });
  server.keepAliveTimeout = 30000;
  server.listen(0, '127.0.0.1', () => writePortFile(portFile, server.address().port));
  const stop = () => server.close(() => process.exit(0));
  process.on('SIGTERM', stop);
  process.on('SIGINT', stop);
}

main();
